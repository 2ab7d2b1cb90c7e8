// The option tree filled as the options pane fills it, with a line that shows the last
// notification the tree sent.
#include "GalleryPages.h"

#include "conversion/ConversionOptions.h"
#include "optiontree/OptionTreeComboItem.h"
#include "optiontree/OptionTreeCtrl.h"
#include "optiontree/OptionTreeEditItem.h"
#include "optiontree/OptionTreePathItem.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

template <class Item>
Item* AddRow(COptionTreeCtrl* tree, COptionTreeItemBase* parent, const QString& label, const QString& info)
{
    Item* item = tree->InsertItem(std::make_unique<Item>(), parent);
    item->SetLabelText(label);
    item->SetInfoText(info);
    if (item->IsCategory()) {
        item->SetLabelTextColor(RGB(0, 0, 0));
        item->SetLabelBackColor(RGB(207, 234, 254));
    }
    return item;
}

COptionTreeItemBase* Group(COptionTreeCtrl* tree, COptionTreeItemBase* parent, const QString& label)
{
    return AddRow<COptionTreeItemBase>(tree, parent, label, label + ".");
}

COptionTreeComboItem* Choice(COptionTreeCtrl* tree, COptionTreeItemBase* parent, const QString& label,
                             const QString& info, const QStringList& entries, int selected)
{
    auto* item = AddRow<COptionTreeComboItem>(tree, parent, label, info);
    item->CreateComboItem();
    for (const QString& entry : entries)
        item->AddString(entry);
    item->SetCurSel(selected);
    return item;
}

COptionTreeEditItem* Field(COptionTreeCtrl* tree, COptionTreeItemBase* parent, const QString& label,
                           const QString& info, DWORD options, const QString& text)
{
    auto* item = AddRow<COptionTreeEditItem>(tree, parent, label, info);
    item->CreateEditItem(options);
    item->SetWindowText(text);
    return item;
}

void FileRow(COptionTreeCtrl* tree, COptionTreeItemBase* parent, const QString& label, const QString& info,
             const QString& filter)
{
    auto* item = AddRow<COptionTreePathItem>(tree, parent, label, info);
    item->CreatePathItem("", "", filter, COptionTreePathItem::OpenDialog | COptionTreePathItem::ShowFullPaths,
                         OFN_OVERWRITEPROMPT);
    item->SetReadOnly(label != "Metrics File(.afm)");
}

void Fill(COptionTreeCtrl* tree)
{
    const DWORD number = COptionTreeEditItem::NumericOnly;
    const QStringList yesNo = {"Yes", "No"};
    auto* paper = Group(tree, nullptr, "Paper Options");
    QStringList paperSizes;
    for (int index = 0; index <= kCustomPageSize; ++index)
        paperSizes.append(QString::fromUtf8(PaperSizeLabel(index)));
    auto* size = Choice(tree, paper, "Page Size", "Set page width and height.", paperSizes, ConversionOptions().PageSize);
    Field(tree, size, "Page Width", "Page Width(Size in points).", number, "595")->SetReadOnly(TRUE);
    Field(tree, size, "Page Height", "Page Height(Size in Points).", number, "842")->SetReadOnly(TRUE);
    auto* margin = Group(tree, paper, "Page Margin");
    for (const char* side : {"Left", "Right", "Top", "Bottom"})
        Field(tree, margin, QString("%1 Margin").arg(side), QString("Page %1 margin.").arg(QString(side).toLower()), number, "72");
    auto* font = Choice(tree, paper, "Page Font", "Choose font to be used in pdf pages.",
                        {"Base14 Font", "Type1 Font", "TrueType Font", "CID Font"}, 1);
    Choice(tree, font, "Base14 Font",
           "Base14 Fonts only display Latin1 character set. To use other character set, you must use other type of font.",
           {"Courier", "Helvetica", "Times-Roman"}, 0)->SetReadOnly(TRUE);
    auto* type1 = Group(tree, font, "Type1 Font");
    FileRow(tree, type1, "Metrics File(.afm)", "Type1 Font metrics file(.afm). Click to import.",
            "AFM Files (*.afm)|*.afm|All Files (*.*)|*.*|");
    FileRow(tree, type1, "Data File(.pfa/.pfb)", "Type1 Font data file(.pfa/.pfb). Click to import.",
            "PFA/PFB Files (*.pfa;*.pfb)|*.pfa;*.pfb|All Files (*.*)|*.*|");
    Field(tree, paper, "Font Size", "PDF font size.", number, "9");
    auto* display = Group(tree, nullptr, "Document Display Options");
    Choice(tree, display, "Open Mode", "PDF document open mode.", {"None", "Outlines", "Thumbs", "Full Screen"}, 0);
    Choice(tree, display, "Open Results", "Open the result html file or directory when finished converting.", yesNo, 0);
    auto* property = Group(tree, nullptr, "PDF Property Options");
    Field(tree, property, "Author", "Author.", 0, "Quillary");
    Field(tree, property, "Title", "Title.", 0, "A title long enough to be clipped by the value column");
    auto* security = Group(tree, nullptr, "PDF Security Options");
    Choice(tree, security, "Print Permission", "User can print the document.", yesNo, 0);
    Field(tree, security, "Encrypt Level", "Encrypt level(40 bits to 128 bits)", number, "40");
    tree->RefreshItems(nullptr);
    tree->ExpandAllItems();
}

QString CodeName(int code)
{
    switch (code) {
    case NotifyItemInserted: return "NotifyItemInserted";
    case NotifyItemDeleting: return "NotifyItemDeleting";
    case NotifyItemChanged: return "NotifyItemChanged";
    case NotifyFocusChanged: return "NotifyFocusChanged";
    case NotifyItemExpanding: return "NotifyItemExpanding";
    case NotifyColumnDragStart: return "NotifyColumnDragStart";
    case NotifyItemActivating: return "NotifyItemActivating";
    default: return QString::number(code);
    }
}

QWidget* MakePage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* tree = new COptionTreeCtrl;
    tree->Create(QRect(0, 0, 400, 500), page, 25, 101);
    auto* last = new QLabel("No notification yet.");
    // About as wide as the options pane, so that long entries are clipped and show their tips.
    tree->setMaximumWidth(320);
    layout->addWidget(tree, 1);
    layout->addWidget(last);
    tree->SetNotify(TRUE, page, [last](int, NMHDR& header) -> LRESULT {
        const auto& record = static_cast<OptionTreeNotify&>(header);
        last->setText(QString("%1 for row %2").arg(CodeName(record.code)).arg(record.item ? record.item->GetOptionItemId() : 0));
        return 0;
    });
    Fill(tree);
    tree->SetFocusedItem(tree->FindItem(10));
    tree->FindItem(10)->Select(TRUE);
    return page;
}

GalleryPageRegistration reg("Option Tree", MakePage);

} // namespace
