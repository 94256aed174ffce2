#include "ui/HtmlToolTip.h"
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace {

std::weak_ptr<CHtmlToolTip> g_pShared;

// Below and a little right of the cursor, clear of the pointer's shape.
const QPoint kCursorOffset(2, 20);

// Appends the tag that starts at text[i] and returns the index of its ">", or
// returns i unchanged when the "<" is not a tag (then it is shown literally).
std::size_t AppendTag(const std::string& text, std::size_t i, QString& out)
{
    if (i + 1 < text.size() && text[i + 1] == '<') {
        out += QLatin1String("&lt;");
        return i + 1;
    }
    const std::size_t end = text.find('>', i);
    if (end == std::string::npos) {
        out += QLatin1String("&lt;");
        return i;
    }
    out += QString::fromLatin1(text.data() + i, static_cast<qsizetype>(end - i + 1));
    return end;
}

} // namespace

CHtmlToolTip::CHtmlToolTip()
    : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextFormat(Qt::RichText);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(3);
}

std::shared_ptr<CHtmlToolTip> CHtmlToolTip::Acquire()
{
    std::shared_ptr<CHtmlToolTip> pTip = g_pShared.lock();
    if (!pTip) {
        pTip.reset(new CHtmlToolTip);  // a window without a parent: its holders own it
        g_pShared = pTip;
    }
    return pTip;
}

CHtmlToolTip* CHtmlToolTip::Shared()
{
    return g_pShared.lock().get();
}

QString CHtmlToolTip::ToRichText(const std::string& text)
{
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()) + 48);
    out += QLatin1String("<div style=\"white-space:pre-wrap\">");
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '<': i = AppendTag(text, i, out); break;
        case '&': out += QLatin1String("&amp;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '\n': out += QLatin1String("<br>"); break;
        case '\r': break;
        default: out += QChar(static_cast<unsigned char>(c)); break;
        }
    }
    out += QLatin1String("</div>");
    return out;
}

void CHtmlToolTip::Show(const std::string& text, const QPoint& ptGlobal, int nMaxWidth)
{
    setText(ToRichText(text));
    setWordWrap(false);
    QSize size = sizeHint();
    if (nMaxWidth > 0 && size.width() > nMaxWidth) {
        setWordWrap(true);
        size = QSize(nMaxWidth, heightForWidth(nMaxWidth));
    }
    resize(size);

    QPoint pt = ptGlobal + kCursorOffset;
    if (const QScreen* pScreen = QGuiApplication::screenAt(ptGlobal)) {
        const QRect area = pScreen->availableGeometry();
        if (pt.x() + size.width() > area.right())
            pt.setX(std::max(area.left(), area.right() - size.width()));
        if (pt.y() + size.height() > area.bottom())
            pt.setY(std::max(area.top(), ptGlobal.y() - size.height() - 4));
    }
    move(pt);
    show();  // a tooltip window stays above the others by its kind
}

void CHtmlToolTip::Hide()
{
    hide();
}

void CHtmlToolTip::RelayEvent(const QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        Hide();
        break;
    default:
        break;
    }
}
