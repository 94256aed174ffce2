#pragma once
// The application's one shared tooltip window. It is created once, with a parent
// (it dies with that parent), shows a short text at the cursor and hides again.
//
// Text language: bytes are shown as they stand (Latin-1), line breaks and runs of
// spaces included. "<" starts a tag of the rich-text subset (<b>, <i>, <u>,
// <font color=...>, <table>, <tr>, <td>, <br>, <img src=...>); "<<" is a literal "<".
// A "<" with no closing ">" is shown literally. "&" and ">" outside tags are plain
// characters (there are no entities).
#include <QLabel>
#include <QString>
#include <string>

class QEvent;
class QPoint;
class QWidget;

class CHtmlToolTip : public QLabel
{
public:
    // Creates the shared window with pParent (Not owned; must not be null) unless it
    // already exists; returns the shared window either way.
    static CHtmlToolTip* Create(QWidget* pParent);
    // The shared window, or null before Create and after its parent was destroyed.
    static CHtmlToolTip* Shared();

    // Shows text just below ptGlobal (screen coordinates), wrapped to at most
    // nMaxWidth pixels (the whole window included) and kept on the screen.
    void Show(const std::string& text, const QPoint& ptGlobal, int nMaxWidth);
    void Hide();
    // Hands the tooltip an input event of the window it serves: a button press,
    // a wheel turn or a key press hides it; other events are ignored.
    void RelayEvent(const QEvent* pEvent);

    // The Qt rich text for a text of the tooltip language. Cost O(length).
    static QString ToRichText(const std::string& text);

private:
    explicit CHtmlToolTip(QWidget* pParent);
};
