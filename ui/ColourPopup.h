#pragma once
// The drop-down of the colour picker: an optional default entry ("Automatic") on top,
// a grid of named colours (each name is the cell's tooltip) and an optional entry that
// asks for the system colour dialog ("More Colours..."). Mouse and keys (arrows,
// Enter, Space, Escape) choose; the popup closes itself once something is chosen.
#include "platform/WinTypes.h"
#include <QRect>
#include <QString>
#include <QWidget>
#include <span>

class CColourPopup : public QWidget
{
    Q_OBJECT
public:
    struct NamedColour
    {
        COLORREF colour;
        const char* name;
    };
    static constexpr int kColumns = 8;
    // The named colours of the grid, row by row.
    static std::span<const NamedColour> Palette();

    // Items are numbered: kDefaultItem, 0 .. palette size - 1 for the cells, then
    // CustomItem(). Entries whose text is empty are left out.
    static constexpr int kDefaultItem = -1;
    static constexpr int kNoItem = -2;

    // parent: the picker (Not owned; it owns the popup as a Qt child).
    // current: the colour shown as selected.
    CColourPopup(QWidget* pParent, COLORREF current, COLORREF defaultColour, const QString& strDefaultText,
                 const QString& strCustomText);

    int CustomItem() const { return static_cast<int>(Palette().size()); }
    // Rectangle of an item in popup coordinates (empty for an absent entry).
    QRect ItemRect(int nItem) const;
    // Item under a point, or kNoItem.
    int ItemAt(const QPoint& pt) const;
    // The tooltip text of an item: a cell's colour name, else empty.
    QString ToolTipOf(int nItem) const;
    // Shows the popup with its top-left corner at a global point, kept on the screen.
    void ShowAt(const QPoint& ptGlobal);

signals:
    // A cell or the default entry was chosen (the default entry reports the default colour).
    void colourChosen(quint32 colour, bool bDefault);
    // "More Colours..." was chosen.
    void customRequested();
    // Closed without a choice.
    void cancelled();

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;
    bool event(QEvent* pEvent) override;

private:
    void Choose(int nItem);
    void MoveHot(int nKey);
    bool HasDefault() const { return !m_strDefaultText.isEmpty(); }
    bool HasCustom() const { return !m_strCustomText.isEmpty(); }
    void PaintTextItem(QPainter& painter, int nItem, const QString& strText, bool bSwatch);
    void PaintCell(QPainter& painter, int nItem);

    COLORREF m_current;
    COLORREF m_default;
    QString m_strDefaultText;
    QString m_strCustomText;
    int m_nHot = kNoItem;
    bool m_bChosen = false;
    int m_nCell;      // pixels per grid cell
    int m_nTextRow;   // height of a text entry
    int m_nMargin;
};
