#pragma once
// The up-down control: two arrow buttons that step the integer shown in a buddy edit.
// It places itself inside the right edge of its buddy (the buddy gives up that
// width), clamps the steps to its range, writes the buddy's text as a plain decimal
// and answers the Up and Down keys in the buddy. Text typed into the buddy is never
// checked against the range.
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <QLineEdit>

class CSpinButtonCtrl : public QWidget
{
    Q_OBJECT
public:
    explicit CSpinButtonCtrl(QWidget* pParent = nullptr);

    // Attaches to the buddy (Not owned) and takes its place at the buddy's right edge.
    void SetBuddy(QLineEdit* pBuddy);
    void SetRange32(int nLower, int nUpper);

    // One step up (+1) or down (-1) from the buddy's number, clamped to the range.
    void Step(int nDelta);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    int ArrowAt(const QPoint& pt) const;  // +1 upper half, -1 lower half
    void OnRepeat();

    QPointer<QLineEdit> m_pBuddy;  // Not owned.
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;      // last value written, used when the buddy holds no number
    int m_nPressed = 0;  // arrow held down: +1, -1 or 0
    QTimer m_timerRepeat;
};
