#pragma once
// Visual-style parts, drawn with the application's current QStyle. Parts are
// named as the theme classes name them: class "BUTTON" (push button, check
// box), "COMBOBOX" (drop-down button) and "SPIN" (up and down arrows), each with
// its part and state numbers. Visual styles count as active under every style
// except the classic one ("windows"); callers draw their unthemed look
// (CDC::DrawFrameControl) otherwise. UI thread only.
#include "platform/WinTypes.h"
#include "platform/gdi/GdiTypes.h"

class CDC;
class QWidget;

// "BUTTON"
constexpr int BP_PUSHBUTTON = 1;
constexpr int BP_CHECKBOX = 3;
constexpr int PBS_NORMAL = 1;
constexpr int PBS_HOT = 2;
constexpr int PBS_PRESSED = 3;
constexpr int PBS_DISABLED = 4;
constexpr int CBS_UNCHECKEDNORMAL = 1;
constexpr int CBS_UNCHECKEDDISABLED = 4;
constexpr int CBS_CHECKEDNORMAL = 5;
constexpr int CBS_CHECKEDDISABLED = 8;
// "COMBOBOX"
constexpr int CP_DROPDOWNBUTTON = 1;
constexpr int CBXS_NORMAL = 1;
// "SPIN"
constexpr int SPNP_UP = 1;
constexpr int SPNP_DOWN = 2;
constexpr int UPS_NORMAL = 1;
constexpr int DNS_NORMAL = 1;

class CThemeHelper
{
public:
    // The parts of pszClassList ("BUTTON", "COMBOBOX" or "SPIN") for pWidget
    // (Not owned; may be null; gives palette and font). Cost O(1).
    CThemeHelper(const QWidget* pWidget, const char* pszClassList);

    // TRUE when visual styles are in use.
    static BOOL IsThemeActive();
    // TRUE when styles are active and the class is one of the above.
    BOOL IsOpen() const { return m_nClass != 0 && IsThemeActive(); }

    // Draws part iPartId in state iStateId (1 normal, 2 hot, 3 pressed, 4
    // disabled; check boxes 5-8 the same, checked) into rc. A check box keeps the
    // style's indicator size, centred in rc. FALSE when not open or the part is
    // not one of the class.
    BOOL DrawThemeBackground(CDC* pDC, int iPartId, int iStateId, const CRect& rc) const;

private:
    BOOL DrawButtonPart(CDC* pDC, int iPartId, int iStateId, const CRect& rc) const;
    void DrawArrowButton(CDC* pDC, int nArrow, int iStateId, const CRect& rc) const;

    const QWidget* m_pWidget;  // Not owned.
    int m_nClass;              // 1 BUTTON, 2 COMBOBOX, 3 SPIN, 0 unknown
};
