#include "optiontree/OptionTreeEditItem.h"

#include "optiontree/TitleTipEdit.h"

#include <QKeyEvent>

#include <climits>

namespace {

const QString Digits = QStringLiteral("1234567890");
const QString Refused = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ`~[]{}-_=+\\|'/?>,<");

// The decimal digits at the start of text after leading blanks; a number too large for an int
// reads as the largest int rather than wrapping round.
int LeadingNumber(const QString& text)
{
    qsizetype pos = 0;
    while (pos < text.size() && (text[pos] == QLatin1Char(' ') || text[pos] == QLatin1Char('\t')))
        ++pos;
    long long value = 0;
    for (; pos < text.size() && text[pos] >= QLatin1Char('0') && text[pos] <= QLatin1Char('9'); ++pos)
        value = qMin<long long>(value * 10 + (text[pos].unicode() - '0'), INT_MAX);
    return int(value);
}

// What ES_NUMBER lets through: typed characters must be digits; editing and moving keys pass.
bool IsTypedNonDigit(const QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    for (QChar c : typed) {
        if (c.isPrint() && !c.isDigit())
            return true;
    }
    return false;
}

} // namespace

BOOL COptionTreeEditItem::CreateEditItem(DWORD options)
{
    auto* edit = new TitleTipEdit;
    if (!AttachEditor(edit))
        return FALSE;
    m_options = options;
    edit->setCursorPosition(0);
    return TRUE;
}

TitleTipEdit* COptionTreeEditItem::GetEdit() const
{
    return static_cast<TitleTipEdit*>(Editor());
}

void COptionTreeEditItem::SetWindowText(const QString& text)
{
    if (GetEdit())
        GetEdit()->setText(text);
}

QString COptionTreeEditItem::GetWindowText() const
{
    return GetEdit() ? GetEdit()->text() : QString();
}

void COptionTreeEditItem::SetNumber(int number)
{
    SetWindowText(QString::number(number));
}

BOOL COptionTreeEditItem::GetNumber(int& number) const
{
    number = 0;
    if (!GetEdit() || !(m_options & NumericOnly) || !IsNumeric(GetWindowText()))
        return FALSE;
    number = LeadingNumber(GetWindowText());
    return TRUE;
}

BOOL COptionTreeEditItem::IsNumeric(const QString& text)
{
    bool hasDigit = false;
    for (QChar c : text) {
        if (Refused.contains(c))
            return FALSE;
        hasDigit = hasDigit || Digits.contains(c);
    }
    return hasDigit;
}

void COptionTreeEditItem::DrawAttribute(QPainter& painter, const QRect& rect)
{
    DrawEditorText(painter, rect, GetWindowText());
}

void COptionTreeEditItem::OnActivate()
{
    m_startText = GetWindowText();
    ShowEditor();
    if (GetEdit()) {
        GetEdit()->deselect();
        GetEdit()->setCursorPosition(0);
    }
}

bool COptionTreeEditItem::OnEditorKey(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        CommitChanges();
        return true;
    }
    if ((m_options & NumericOnly) && IsTypedNonDigit(event))
        return true;
    return COptionTreeEditorItem::OnEditorKey(event);
}

void COptionTreeEditItem::RevertEditor()
{
    SetWindowText(m_startText);
}
