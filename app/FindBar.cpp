#include "app/FindBar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

std::string Latin1(const QString& str)
{
    return str.toLatin1().toStdString();
}

bool IsEnter(int nKey)
{
    return nKey == Qt::Key_Return || nKey == Qt::Key_Enter;
}

} // namespace

CFindBar::CFindBar(CTreeListCtrl* pTree, DWORD nColumnMask, QWidget* pParent)
    : QWidget(pParent), m_pTree(pTree), m_nColumnMask(nColumnMask), m_pFind(new QLineEdit(this)),
      m_pPrevious(new QToolButton(this)), m_pNext(new QToolButton(this)),
      m_pMatchCase(new QCheckBox("Match case", this)), m_pRegex(new QCheckBox("Regular expression", this)),
      m_pFilter(new QLineEdit(this)), m_pMessage(new QLabel(this)), m_pClose(new QToolButton(this))
{
    setAutoFillBackground(true);
    m_pFind->setPlaceholderText("Name, value or OID");
    m_pFilter->setPlaceholderText("Show only matching rows");
    m_pPrevious->setArrowType(Qt::UpArrow);
    m_pPrevious->setToolTip("Find Previous (Shift+F3)");
    m_pNext->setArrowType(Qt::DownArrow);
    m_pNext->setToolTip("Find Next (F3)");
    m_pClose->setText(QString(QChar(0x00D7)));
    m_pClose->setToolTip("Close (Esc)");
    m_pClose->setAutoRaise(true);

    auto* pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(4, 2, 4, 2);
    pLayout->setSpacing(4);
    pLayout->addWidget(new QLabel("Find:", this));
    pLayout->addWidget(m_pFind, 2);
    pLayout->addWidget(m_pPrevious);
    pLayout->addWidget(m_pNext);
    pLayout->addWidget(m_pMatchCase);
    pLayout->addWidget(m_pRegex);
    pLayout->addSpacing(8);
    pLayout->addWidget(new QLabel("Filter:", this));
    pLayout->addWidget(m_pFilter, 1);
    pLayout->addWidget(m_pMessage, 2);
    pLayout->addWidget(m_pClose);

    m_filterTimer.setSingleShot(true);
    m_filterTimer.setInterval(kFilterDelayMs);
    connect(&m_filterTimer, &QTimer::timeout, this, &CFindBar::Filter);
    connect(m_pFind, &QLineEdit::textEdited, this, [this] { Find(CTreeListCtrl::fsAgain); });
    connect(m_pFilter, &QLineEdit::textEdited, this, [this] { m_filterTimer.start(); });
    connect(m_pNext, &QToolButton::clicked, this, &CFindBar::FindNext);
    connect(m_pPrevious, &QToolButton::clicked, this, &CFindBar::FindPrevious);
    connect(m_pMatchCase, &QCheckBox::toggled, this, &CFindBar::OnOptionsChanged);
    connect(m_pRegex, &QCheckBox::toggled, this, &CFindBar::OnOptionsChanged);
    connect(m_pClose, &QToolButton::clicked, this, &CFindBar::Close);
    for (QWidget* pChild : findChildren<QWidget*>())
        pChild->installEventFilter(this);
}

void CFindBar::Open()
{
    const bool bWasHidden = isHidden();
    show();
    m_pFind->setFocus(Qt::ShortcutFocusReason);
    m_pFind->selectAll();
    if (bWasHidden)
        ShowMessage("");
}

void CFindBar::Close()
{
    m_filterTimer.stop();
    m_pFilter->clear();
    m_pTree->ClearFilter();
    hide();
    m_pTree->setFocus(Qt::OtherFocusReason);
    emit Closed();
}

void CFindBar::FindNext()
{
    if (m_pFind->text().isEmpty())
        Open();
    else
        Find(CTreeListCtrl::fsNext);
}

void CFindBar::FindPrevious()
{
    if (m_pFind->text().isEmpty())
        Open();
    else
        Find(CTreeListCtrl::fsPrevious);
}

void CFindBar::Refilter()
{
    if (m_pTree->IsFiltered())
        Filter();
}

std::string CFindBar::Message() const
{
    return Latin1(m_pMessage->text());
}

// Enter finds (Shift+Enter backwards) or filters at once; Escape closes. The
// keys stop here: the view would take Enter for "Go".
bool CFindBar::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() != QEvent::KeyPress)
        return QWidget::eventFilter(pWatched, pEvent);
    const auto* pKey = static_cast<const QKeyEvent*>(pEvent);
    if (pKey->key() == Qt::Key_Escape) {
        Close();
        return true;
    }
    if (!IsEnter(pKey->key()))
        return QWidget::eventFilter(pWatched, pEvent);
    if (pWatched == m_pFilter) {
        m_filterTimer.stop();
        Filter();
    } else if (pKey->modifiers() & Qt::ShiftModifier) {
        FindPrevious();
    } else {
        FindNext();
    }
    return true;
}

bool CFindBar::MakeMatcher(const QLineEdit& box, CTreeMatcher& matcher)
{
    UINT nFlags = 0;
    if (m_pMatchCase->isChecked())
        nFlags |= CTreeMatcher::fMatchCase;
    if (m_pRegex->isChecked())
        nFlags |= CTreeMatcher::fRegularExpression;
    if (matcher.Set(Latin1(box.text()), nFlags, m_nColumnMask))
        return true;
    ShowMessage("Bad regular expression: " + matcher.ErrorText(), true);
    return false;
}

void CFindBar::Find(CTreeListCtrl::EFindStep eStep)
{
    CTreeMatcher matcher;
    if (!MakeMatcher(*m_pFind, matcher))
        return;
    if (matcher.IsEmpty()) {
        ShowMessage("");
        return;
    }
    const CTreeListCtrl::CFindResult result = m_pTree->FindAndShow(matcher, eStep);
    if (!result.pMatch)
        ShowMessage(kNoMatch, true);
    else
        ShowMessage(FoundMessage(result, eStep));
}

std::string CFindBar::FoundMessage(const CTreeListCtrl::CFindResult& result, CTreeListCtrl::EFindStep eStep) const
{
    if (result.pShown != result.pMatch)
        return "Found inside \"" + m_pTree->InfoOf(result.pShown)->GetText()
            + "\", which opens once its query or cleaning has ended";
    if (!result.bWrapped)
        return "";
    return eStep == CTreeListCtrl::fsPrevious ? "Passed the first row; went on from the last"
                                              : "Passed the last row; went on from the first";
}

void CFindBar::Filter()
{
    CTreeMatcher matcher;
    if (!MakeMatcher(*m_pFilter, matcher))
        return;
    if (matcher.Pattern().empty()) {
        m_pTree->ClearFilter();
        ShowMessage("");
        return;
    }
    const int nMatches = m_pTree->ApplyFilter(matcher);
    if (nMatches == 0)
        ShowMessage(kNoMatch, true);
    else
        ShowMessage("Filter: " + std::to_string(nMatches) + (nMatches == 1 ? " match" : " matches"));
}

void CFindBar::OnOptionsChanged()
{
    if (!m_pFilter->text().isEmpty())
        Filter();
    if (!m_pFind->text().isEmpty())
        Find(CTreeListCtrl::fsAgain);
}

void CFindBar::ShowMessage(const std::string& strText, bool bProblem)
{
    m_pMessage->setText(QString::fromLatin1(strText.data(), qsizetype(strText.size())));
    m_pMessage->setStyleSheet(bProblem ? QStringLiteral("color: #c00000") : QString());
}
