#include "optiontree/OptionTreeComboItem.h"

#include "optiontree/TitleTipComboBox.h"

BOOL COptionTreeComboItem::CreateComboItem()
{
    auto* combo = new TitleTipComboBox;
    combo->SetDroppedHeight(m_dropHeight);
    return AttachEditor(combo);
}

TitleTipComboBox* COptionTreeComboItem::GetComboBox() const
{
    return static_cast<TitleTipComboBox*>(Editor());
}

int COptionTreeComboItem::AddString(const QString& entry)
{
    TitleTipComboBox* combo = GetComboBox();
    if (!combo)
        return CB_ERR;
    combo->addItem(entry);
    return combo->count() - 1;
}

int COptionTreeComboItem::SetCurSel(int index)
{
    TitleTipComboBox* combo = GetComboBox();
    if (!combo)
        return CB_ERR;
    const bool inList = index >= 0 && index < combo->count();
    combo->setCurrentIndex(inList ? index : -1);
    return inList ? index : CB_ERR;
}

int COptionTreeComboItem::GetCurSel() const
{
    const TitleTipComboBox* combo = GetComboBox();
    return combo ? combo->currentIndex() : CB_ERR;
}

int COptionTreeComboItem::GetCount() const
{
    const TitleTipComboBox* combo = GetComboBox();
    return combo ? combo->count() : CB_ERR;
}

QString COptionTreeComboItem::GetWindowText() const
{
    const TitleTipComboBox* combo = GetComboBox();
    return combo ? combo->currentText() : QString();
}

void COptionTreeComboItem::SetDropHeight(int height)
{
    m_dropHeight = height;
    if (GetComboBox())
        GetComboBox()->SetDroppedHeight(height);
}

void COptionTreeComboItem::DrawAttribute(QPainter& painter, const QRect& rect)
{
    DrawEditorText(painter, rect, GetWindowText());
}

void COptionTreeComboItem::OnActivate()
{
    m_startIndex = GetCurSel();
    ShowEditor();
}

void COptionTreeComboItem::RevertEditor()
{
    SetCurSel(m_startIndex);
}
