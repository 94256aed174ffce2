#pragma once
// The application's one shared tooltip window: a window of its own, made when
// it is first acquired and destroyed when the last holder lets it go. It shows
// a short text at the cursor and hides again. UI thread only.
//
// Text language: bytes are shown as they stand (Latin-1), line breaks and runs of
// spaces included. "<" starts a tag of the rich-text subset (<b>, <i>, <u>,
// <font color=...>, <table>, <tr>, <td>, <br>, <img src=...>); "<<" is a literal "<".
// A "<" with no closing ">" is shown literally. "&" and ">" outside tags are plain
// characters (there are no entities).
#include <QLabel>
#include <QString>
#include <memory>
#include <string>

class QEvent;
class QPoint;
class QWidget;

class CHtmlToolTip : public QLabel
{
public:
    // The shared window, made when nobody holds it yet. Holders share its ownership.
    static std::shared_ptr<CHtmlToolTip> Acquire();
    // The shared window, or null while nobody holds it.
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
    CHtmlToolTip();
};
