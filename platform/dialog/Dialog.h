#pragma once
// The framework's dialog: a QDialog laid out in dialog units of its own font, whose
// controls are found by their numeric ids, with the framework's hooks (initialise,
// OK, Cancel, erase, paint). Controls are created in tab order by the derived class's
// constructor; the dialog owns them as their Qt parent.
#include "platform/WinTypes.h"
#include "platform/dialog/DialogUnits.h"
#include "platform/msgbox/MessageBox.h"
#include <QDialog>
#include <map>
#include <string>

class QAbstractButton;
class QLineEdit;

constexpr int IDCANCEL = 2;

class CDialog : public QDialog
{
    Q_OBJECT
public:
    // A dialog of cx × cy dialog units in the given font (family, point size), with a
    // caption and a system menu but no size grip. parent may be null (Not owned).
    CDialog(const std::string& strCaption, int cx, int cy, const QString& strFontFamily, int nPointSize,
            QWidget* pParent = nullptr);

    // Initialises the controls (OnInitDialog) and runs the dialog modally. Returns
    // IDOK or IDCANCEL. Each run starts with a fresh initialisation.
    int DoModal();
    // Initialises and shows the dialog without a modal loop; it ends through OK or
    // Cancel like a modal one and then reports its result through Result().
    BOOL Create();
    // IDOK or IDCANCEL once the dialog has ended, 0 before.
    int Result() const { return m_nResult; }

    // The control with this id, or null.
    QWidget* GetDlgItem(int nId) const;
    const CDialogUnits& Units() const { return m_units; }

protected:
    // Creates a control of type T as a child, places it at x, y, cx, cy dialog units
    // and files it under nId. Returns it (owned by the dialog).
    template <class T>
    T* AddControl(int nId, int x, int y, int cx, int cy)
    {
        T* pControl = new T(this);
        PlaceControl(nId, pControl, x, y, cx, cy);
        return pControl;
    }
    // Places a control created by the caller as a child of the dialog and files it
    // under nId.
    void PlaceControl(int nId, QWidget* pControl, int x, int y, int cx, int cy);
    // Makes a QLineEdit accept typed digits only.
    static void SetDigitsOnly(QLineEdit* pEdit);
    // Routes clicks of the button with id 1 to OnOK and id 2 to OnCancel.
    void ConnectStandardButtons();

    // Called once before the dialog is first shown. Returns TRUE to let the focus go to
    // the first control of the tab order.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Default: end with IDOK / IDCANCEL.
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Paints the background; return FALSE to get the palette's window colour instead.
    virtual BOOL OnEraseBkgnd(QPainter&) { return FALSE; }
    // Paints over the background, under the controls.
    virtual void OnPaint(QPainter&) {}
    void EndDialog(int nResult);

    // QDialog's ends and keys (Escape) go through OnOK/OnCancel.
    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void Initialise();

    CDialogUnits m_units;
    std::map<int, QWidget*> m_controls;  // Not owned (Qt children of the dialog).
    int m_nResult = 0;
};
