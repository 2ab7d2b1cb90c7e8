#include "TreeFixture.h"

#include "platform/WinTypes.h"

#include <QLineEdit>

namespace {

const QString LongPaperSize = "A very long paper size name that cannot fit into the dropped list at all";
const QStringList PaperSizes = {"A4 [210 x 297 mm]", "Letter [8.5 x 11 in]", "Legal [8.5 x 14 in]", LongPaperSize,
                                "Custom Page Size"};
const QStringList YesNo = {"Yes", "No"};
const QString MetricsFilter = "AFM Files (*.afm)|*.afm|All Files (*.*)|*.*|";
const QString DataFilter = "PFA/PFB Files (*.pfa;*.pfb)|*.pfa;*.pfb|All Files (*.*)|*.*|";
const QString TrueTypeFilter = "TrueType Font Files (*.ttf;*.ttc)|*.ttf;*.ttc|All Files (*.*)|*.*|";

} // namespace

QString PaperSizesLongEntry()
{
    return LongPaperSize;
}

void TreeFixture::SetUp()
{
    host = std::make_unique<QWidget>();
    host->resize(Width, Height + 30);
    outside = new QLineEdit(host.get());
    outside->setGeometry(0, Height, Width, 30);
    tree = new COptionTreeCtrl;
    ASSERT_TRUE(tree->Create(QRect(0, 0, Width, Height), host.get(), 25, 101));
    tree->SetNotify(TRUE, host.get(), [this](int, NMHDR& header) -> LRESULT {
        const auto& record = static_cast<OptionTreeNotify&>(header);
        EXPECT_EQ(record.hwndFrom, tree);
        EXPECT_EQ(record.idFrom, 101);
        log.push_back({record.code, record.item});
        return vetoes.count(record.code) ? 1 : 0;
    });
    host->show();
    host->activateWindow();
    // Focus goes to a window only once the window system has made it active.
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    tree->GetRowsWnd()->setFocus();
}

void TreeFixture::TearDown()
{
    COptionTreePathDialog::SetRunner({});
    host.reset();
}

COptionTreeItemBase* TreeFixture::AddGroup(const QString& label, COptionTreeItemBase* parent)
{
    auto* item = tree->InsertItem(std::make_unique<COptionTreeItemBase>(), parent);
    item->SetLabelText(label);
    item->SetInfoText(label + ".");
    if (item->IsCategory()) {
        item->SetLabelTextColor(RGB(0, 0, 0));
        item->SetLabelBackColor(RGB(207, 234, 254));
    }
    return item;
}

COptionTreeComboItem* TreeFixture::AddCombo(const QString& label, COptionTreeItemBase* parent,
                                            const QStringList& entries, int selected)
{
    auto* item = tree->InsertItem(std::make_unique<COptionTreeComboItem>(), parent);
    item->SetLabelText(label);
    item->SetInfoText("Choose the " + label + ".");
    EXPECT_TRUE(item->CreateComboItem());
    for (const QString& entry : entries)
        item->AddString(entry);
    item->SetCurSel(selected);
    return item;
}

COptionTreeEditItem* TreeFixture::AddEdit(const QString& label, COptionTreeItemBase* parent, DWORD options,
                                          const QString& text)
{
    auto* item = tree->InsertItem(std::make_unique<COptionTreeEditItem>(), parent);
    item->SetLabelText(label);
    item->SetInfoText(label + " of the document.");
    EXPECT_TRUE(item->CreateEditItem(options));
    item->SetWindowText(text);
    return item;
}

COptionTreePathItem* TreeFixture::AddPath(const QString& label, COptionTreeItemBase* parent, const QString& filter)
{
    auto* item = tree->InsertItem(std::make_unique<COptionTreePathItem>(), parent);
    item->SetLabelText(label);
    item->SetInfoText(label + ". Click to import.");
    EXPECT_TRUE(item->CreatePathItem("", "", filter, COptionTreePathItem::OpenDialog | COptionTreePathItem::ShowFullPaths,
                                     OFN_OVERWRITEPROMPT));
    return item;
}

void TreeFixture::BuildPaneTree()
{
    const DWORD number = COptionTreeEditItem::NumericOnly;
    auto* paper = AddGroup("Paper Options", nullptr);                             // 1
    auto* size = AddCombo("Page Size", paper, PaperSizes, 0);                     // 2
    AddEdit("Page Width", size, number, "595")->SetReadOnly(TRUE);                // 3
    AddEdit("Page Height", size, number, "842")->SetReadOnly(TRUE);               // 4
    auto* margin = AddGroup("Page Margin", paper);                                // 5
    AddEdit("Left Margin", margin, number, "72");                                 // 6
    AddEdit("Right Margin", margin, number, "72");                                // 7
    AddEdit("Top Margin", margin, number, "72");                                  // 8
    AddEdit("Bottom Margin", margin, number, "72");                               // 9
    auto* font = AddCombo("Page Font", paper, {"Base14 Font", "Type1 Font", "TrueType Font", "CID Font"}, 0); // 10
    AddCombo("Base14 Font", font, {"Courier", "Helvetica", "Times-Roman"}, 0);    // 11
    auto* type1 = AddGroup("Type1 Font", font);                                   // 12
    AddPath("Metrics File(.afm)", type1, MetricsFilter);                          // 13
    AddPath("Data File(.pfa/.pfb)", type1, DataFilter);                           // 14
    auto* trueType = AddPath("TrueType Font", font, TrueTypeFilter);              // 15
    AddCombo("Embedding Font", trueType, YesNo, 0);                               // 16
    AddCombo("CID Font", font, {"SimSun", "SimHei"}, 0);                          // 17
    auto* encoding = AddGroup("Page Encoding", paper);                            // 18
    AddCombo("Single-byte Encoding", encoding, {"StandardEncoding", "WinAnsiEncoding"}, 1); // 19
    AddCombo("Multi-byte Encoding", encoding, {"GB-EUC-H", "GBK-EUC-H"}, 0);      // 20
    AddEdit("Font Size", paper, number, "9");                                     // 21
    auto* display = AddGroup("Document Display Options", nullptr);                // 22
    AddCombo("Open Mode", display, {"None", "Outlines", "Thumbs", "Full Screen"}, 0); // 23
    AddCombo("Open Results", display, YesNo, 0);                                  // 24
    auto* property = AddGroup("PDF Property Options", nullptr);                   // 25
    for (const char* label : {"Author", "Creator", "Title", "Subject", "Keywords"}) // 26..30
        AddEdit(label, property, 0, "");
    auto* security = AddGroup("PDF Security Options", nullptr);                   // 31
    for (const char* label : {"Read Permission", "Print Permission", "Copy Permission", "Modify Permission"}) // 32..35
        AddCombo(label, security, YesNo, 0);
    AddEdit("Encrypt Level", security, number, "40");                             // 36
    tree->RefreshItems(nullptr);
    tree->ExpandAllItems();
    // The scroll bar that the rows now need comes with the next turn of the event loop.
    QApplication::processEvents();
    log.clear();
}

QPoint TreeFixture::RowPoint(COptionTreeItemBase* item, int x)
{
    tree->EnsureVisible(item);
    return QPoint(x, item->GetLocation().y() - tree->GetYOffset() + item->GetHeight() / 2);
}

void TreeFixture::Click(COptionTreeItemBase* item, int x)
{
    const QPoint point = RowPoint(item, x);
    QTest::mouseClick(Client(), Qt::LeftButton, Qt::NoModifier, point);
}

void TreeFixture::DoubleClick(COptionTreeItemBase* item, int x)
{
    const QPoint point = RowPoint(item, x);
    QTest::mouseDClick(Client(), Qt::LeftButton, Qt::NoModifier, point);
}

void TreeFixture::Key(int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : tree->GetRowsWnd();
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

std::vector<int> TreeFixture::Codes() const
{
    std::vector<int> codes;
    for (const Received& each : log)
        codes.push_back(each.code);
    return codes;
}

std::vector<Received> TreeFixture::Notices(int code) const
{
    std::vector<Received> found;
    for (const Received& each : log) {
        if (each.code == code)
            found.push_back(each);
    }
    return found;
}
