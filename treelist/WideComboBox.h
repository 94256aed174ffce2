#pragma once
// A combo box whose drop-down list widens itself to its longest entry and
// moves left as far as needed to stay inside the monitor's work area.
#include "platform/WinTypes.h"
#include <QComboBox>

class CWideComboBox : public QComboBox
{
public:
    explicit CWideComboBox(QWidget* pParent = nullptr);

    // Width the list gets at its next drop-down (0 before the first).
    int DropWidth() const { return m_nDropWidth; }
    // How far the list moves left to stay on the monitor.
    int DropShift() const { return m_nDropShift; }

    void showPopup() override;

private:
    // Measures the entries: m_nDropWidth and m_nDropShift. Cost O(entries).
    void OnDropDown();
    // Widens the shown list to m_nDropWidth and applies the shift.
    void FitListBox();

    int m_nDropWidth = 0;
    int m_nDropShift = 0;
};
