#pragma once
// The colour-picker button: shows a colour; a click drops down a CColourPopup with the
// default entry, the named colours and "More Colours...", which opens the system
// colour dialog. The chosen colour becomes the button's colour and is reported.
#include "platform/WinTypes.h"
#include <QPointer>
#include <QPushButton>
#include <functional>

class CColourPopup;

class CColourPicker : public QPushButton
{
    Q_OBJECT
public:
    explicit CColourPicker(QWidget* pParent = nullptr);
    ~CColourPicker() override;

    // The colour shown. Setting it reports nothing.
    void SetColour(COLORREF colour);
    COLORREF GetColour() const { return m_colour; }
    // The colour the default entry stands for.
    void SetDefaultColour(COLORREF colour) { m_default = colour; }
    COLORREF GetDefaultColour() const { return m_default; }
    // Text of the default entry ("Automatic"); empty leaves the entry out.
    void SetDefaultText(const QString& strText) { m_strDefaultText = strText; }
    // Text of the entry that opens the system colour dialog; empty leaves it out.
    void SetCustomText(const QString& strText) { m_strCustomText = strText; }

    // Drops the popup down under the button (a click or Alt+Down does this too).
    void ShowPopup();
    // The popup while it is open, else null (Not owned: it deletes itself on close).
    CColourPopup* Popup() const;

    // Asks the user for any colour, starting from the given one; returns false when
    // the user cancelled. Tests replace it; the default is QColorDialog.
    using ColourDialog = std::function<bool(COLORREF& colour, QWidget* pParent)>;
    void SetColourDialog(ColourDialog fnDialog) { m_fnDialog = std::move(fnDialog); }

signals:
    // The user chose a colour (also when it equals the one shown).
    void colourChosen(quint32 colour);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void OnChosen(quint32 colour);
    void OnCustom();

    COLORREF m_colour = 0;
    COLORREF m_default = 0;
    QString m_strDefaultText = QStringLiteral("Automatic");
    QString m_strCustomText = QStringLiteral("More Colours...");
    QPointer<CColourPopup> m_pPopup;  // Not owned.
    ColourDialog m_fnDialog;
};
