#include "app/RightView.h"

#include "conversion/ConversionOptions.h"
#include "optiontree/OptionTreeComboItem.h"
#include "optiontree/OptionTreeCtrl.h"
#include "optiontree/OptionTreeEditItem.h"
#include "optiontree/OptionTreePathItem.h"

#include <QFile>

#include <memory>

namespace {

enum class Kind { Category, Group, Choice, Number, Text, File };
enum class List { None, Paper, FontKinds, Base14, Cid, SingleByte, MultiByte, OpenModes, YesNo, FormFeeds, OnOff, Archive };

struct OptionRow {
    const char* label;
    const char* info;
    Kind kind;
    int parent; // 0 for the root
    List list = List::None;
    int ConversionOptions::*number = nullptr;        // choice and number rows
    std::string ConversionOptions::*text = nullptr;  // text and file rows
    const char* filter = nullptr;                    // file rows
};

using CO = ConversionOptions;

const char* const kMetricsFilter = "AFM Files (*.afm)|*.afm|All Files (*.*)|*.*|";
const char* const kDataFilter = "PFA/PFB Files (*.pfa;*.pfb)|*.pfa;*.pfb|All Files (*.*)|*.*|";
const char* const kTrueTypeFilter = "TrueType Font Files (*.ttf;*.ttc)|*.ttf;*.ttc|All Files (*.*)|*.*|";

// The category of the page furniture's rows, the first row after the original ones; its rows
// follow it in the table.
constexpr int kFurnitureRow = 40;
// The category of the combined PDF and its one row.
constexpr int kCombineCategoryRow = 52;
constexpr int kCombineIntoRow = 53;
// The archive rows: their category, then the choice and the language under it.
constexpr int kArchiveCategoryRow = 54;

// Row n of the tree is kRows[n - 1]; the numbers are the contract with the run.
const OptionRow kRows[] = {
    {"Paper Options", "Paper options.", Kind::Category, 0},
    {"Page Size", "Set page width and height.", Kind::Choice, 1, List::Paper, &CO::PageSize},
    {"Page Width", "Page Width(Size in points).", Kind::Number, 2, List::None, &CO::PageWidth},
    {"Page Height", "Page Height(Size in Points).", Kind::Number, 2, List::None, &CO::PageHeight},
    {"Page Margin", "Page margin.", Kind::Group, 1},
    {"Left Margin", "Page left margin.", Kind::Number, 5, List::None, &CO::LeftMargin},
    {"Right Margin", "Page right margin.", Kind::Number, 5, List::None, &CO::RightMargin},
    {"Top Margin", "Page top margin.", Kind::Number, 5, List::None, &CO::TopMargin},
    {"Bottom Margin", "Page bottom margin.", Kind::Number, 5, List::None, &CO::BottomMargin},
    {"Page Font", "Choose font to be used in pdf pages.", Kind::Choice, 1, List::FontKinds, &CO::PageFont},
    {"Base14 Font",
     "Base14 Fonts only display Latin1 character set. To use other character set, you must use other type of font.",
     Kind::Choice, 10, List::Base14, &CO::B14Font},
    {"Type1 Font", "Type1 Font.", Kind::Group, 10},
    {"Metrics File(.afm)", "Type1 Font metrics file(.afm). Click to import.", Kind::File, 12, List::None, nullptr,
     &CO::Type1MetricsFile, kMetricsFilter},
    {"Data File(.pfa/.pfb)", "Type1 Font data file(.pfa/.pfb). Click to import.", Kind::File, 12, List::None, nullptr,
     &CO::Type1DataFile, kDataFilter},
    {"TrueType Font", "TrueType font file(.ttf/.ttc). Click to import.", Kind::File, 10, List::None, nullptr,
     &CO::TrueTypeFile, kTrueTypeFilter},
    {"Embedding Font", "Embedding true type font into pdf file. This will increases pdf file size.", Kind::Choice,
     15, List::YesNo, &CO::EmbeddingFont},
    {"CID Font", "Font for multi byte character.", Kind::Choice, 10, List::Cid, &CO::CIDFont},
    {"Page Encoding", "Page encoding.", Kind::Group, 1},
    {"Single-byte Encoding", "Encoding for single-byte character set.", Kind::Choice, 18, List::SingleByte,
     &CO::SingeEncode},
    {"Multi-byte Encoding", "Encoding for multi-byte character set.", Kind::Choice, 18, List::MultiByte,
     &CO::MultiEncode},
    {"Font Size", "PDF font size.", Kind::Number, 1, List::None, &CO::FontSize},
    {"Document Display Options", "PDF document display options.", Kind::Category, 0},
    {"Open Mode", "PDF document open mode.", Kind::Choice, 22, List::OpenModes, &CO::OpenMode},
    {"Open Results", "Open the result html file or directory when finished converting.", Kind::Choice, 22,
     List::YesNo, &CO::OpenResult},
    {"PDF Property Options", "PDF property options.", Kind::Category, 0},
    {"Author", "Author.", Kind::Text, 25, List::None, nullptr, &CO::Author},
    {"Creator", "Creator.", Kind::Text, 25, List::None, nullptr, &CO::Creator},
    {"Title", "Title.", Kind::Text, 25, List::None, nullptr, &CO::Title},
    {"Subject", "Subject.", Kind::Text, 25, List::None, nullptr, &CO::Subject},
    {"Keywords", "Keywords.", Kind::Text, 25, List::None, nullptr, &CO::Keywords},
    {"PDF Security Options", "PDF security options.", Kind::Category, 0},
    {"Read Permission", "User can read the document.", Kind::Choice, 31, List::YesNo, &CO::PermitRead},
    {"Print Permission", "User can print the document.", Kind::Choice, 31, List::YesNo, &CO::PermitPrint},
    {"Copy Permission", "User can copy the text and the graphics of the document.", Kind::Choice, 31, List::YesNo,
     &CO::PermitCopy},
    {"Modify Permission", "User can edit the contents of the document .", Kind::Choice, 31, List::YesNo,
     &CO::PermitModify},
    {"Encrypt Level", "Encrypt level(40 bits to 128 bits)", Kind::Number, 31, List::None, &CO::EncryptLevel},
    {"Text Options", "How tabs and form feeds of the text are laid out.", Kind::Category, 0},
    {"Tab Size", "A tab advances to the next multiple of this many space widths; 0 draws the tab character.",
     Kind::Number, 37, List::None, &CO::TabSize},
    {"Form Feed", "Whether a form feed ends the page or is drawn as a character.", Kind::Choice, 37,
     List::FormFeeds, &CO::FormFeed},
    {"Page Furniture", "A header and a footer on every page, and line numbers.", Kind::Category, 0},
    {"Header Left",
     "The header's left field. Placeholders: %f file name, %F path, %m modification date, %D today, %p page, "
     "%P page count, %% percent sign.",
     Kind::Text, kFurnitureRow, List::None, nullptr, &CO::HeaderLeft},
    {"Header Centre", "The header's centre field, with the same placeholders.", Kind::Text, kFurnitureRow,
     List::None, nullptr, &CO::HeaderCentre},
    {"Header Right", "The header's right field, such as \"Page %p of %P\".", Kind::Text, kFurnitureRow,
     List::None, nullptr, &CO::HeaderRight},
    {"Footer Left", "The footer's left field, with the same placeholders.", Kind::Text, kFurnitureRow, List::None,
     nullptr, &CO::FooterLeft},
    {"Footer Centre", "The footer's centre field.", Kind::Text, kFurnitureRow, List::None, nullptr,
     &CO::FooterCentre},
    {"Footer Right", "The footer's right field.", Kind::Text, kFurnitureRow, List::None, nullptr, &CO::FooterRight},
    {"Header/Footer Font Size", "Font size of the header and footer in points; 0 takes the body's.", Kind::Number,
     kFurnitureRow, List::None, &CO::FurnitureFontSize},
    {"Header Rule", "A rule under the header.", Kind::Choice, kFurnitureRow, List::OnOff, &CO::HeaderRule},
    {"Footer Rule", "A rule over the footer.", Kind::Choice, kFurnitureRow, List::OnOff, &CO::FooterRule},
    {"Line Numbers", "Number the text's lines in a gutter left of the text.", Kind::Choice, kFurnitureRow,
     List::OnOff, &CO::LineNumbers},
    {"Line Number Step", "Draw only every this many-th line number.", Kind::Number, kFurnitureRow, List::None,
     &CO::LineNumberStep},
    {"Combine Options", "Many files into one PDF.", Kind::Category, 0},
    {"Combine Into One PDF",
     "Checked files into this one PDF, a bookmark each; row passwords do not apply. A bare name goes "
     "beside the first file; .pdf is added if missing; empty: a PDF per file.",
     Kind::Text, kCombineCategoryRow, List::None, nullptr, &CO::CombineInto},
    {"Archive Options", "Archival PDFs that keep for decades and that screen readers can follow.", Kind::Category, 0},
    {"PDF/A", "PDF/A-2u, tagged: every font embedded, XMP metadata, an sRGB output intent and one structure "
              "element per paragraph. Passwords and encryption cannot be used with it.",
     Kind::Choice, kArchiveCategoryRow, List::Archive, &CO::Archive},
    {"Document Language", "The language tag the PDF declares, such as en-US or de-DE; empty takes the language "
                          "of your locale.",
     Kind::Text, kArchiveCategoryRow, List::None, nullptr, &CO::Language},
};
constexpr int kRowCount = int(std::size(kRows));
static_assert(kRowCount == kArchiveCategoryRow + 2);

constexpr int kPageSizeRow = 2;
constexpr int kPageWidthRow = 3;
constexpr int kPageHeightRow = 4;
constexpr int kPageFontRow = 10;

// Which rows a font kind leaves editable: rows 11, 13, 14, 15, 16, 17, 19 and 20 by font kind.
struct FontKindRule {
    int row;
    bool editable[4]; // Base14, Type 1, TrueType, CID
};
constexpr FontKindRule kFontKindRules[] = {
    {11, {true, false, false, false}}, {13, {false, true, false, false}}, {14, {false, true, false, false}},
    {15, {false, false, true, false}}, {16, {false, false, true, false}}, {17, {false, false, false, true}},
    {19, {true, true, true, false}},   {20, {false, false, true, true}},
};

template <std::size_t N>
QStringList ToStrings(const std::array<std::string_view, N>& list)
{
    QStringList strings;
    for (std::string_view entry : list)
        strings << QString::fromLatin1(entry.data(), qsizetype(entry.size()));
    return strings;
}

QStringList Entries(List list)
{
    switch (list) {
    case List::Paper: {
        QStringList papers;
        for (int i = 0; i <= kCustomPageSize; ++i) {
            const std::string_view label = PaperSizeLabel(i);
            papers << QString::fromLatin1(label.data(), qsizetype(label.size()));
        }
        return papers;
    }
    case List::FontKinds: return ToStrings(FontKindLabels);
    case List::Base14: return ToStrings(Base14FontNames);
    case List::Cid: return ToStrings(CidFontLabels);
    case List::SingleByte: return ToStrings(SingleByteEncodings);
    case List::MultiByte: return ToStrings(MultiByteEncodings);
    case List::OpenModes: return ToStrings(OpenModeLabels);
    case List::YesNo: return ToStrings(YesNoLabels);
    case List::FormFeeds: return ToStrings(FormFeedLabels);
    case List::OnOff: return ToStrings(OnOffLabels);
    case List::Archive: return ToStrings(ArchiveLabels);
    case List::None: break;
    }
    return {};
}

QString FromRecord(const std::string& bytes)
{
    return QString::fromLocal8Bit(bytes);
}

std::string ToRecord(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

} // namespace

CRightView::CRightView(ConversionOptions& options, QWidget* parent)
    : QWidget(parent)
    , m_options(options)
{
    BuildOptionTree();
}

CRightView::~CRightView() = default;

void CRightView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_tree) {
        m_tree->setGeometry(rect());
        m_tree->update();
    }
}

void CRightView::BuildOptionTree()
{
    if (m_tree) {
        m_tree->DeleteAllItems();
    } else {
        m_tree = new COptionTreeCtrl;
        if (!m_tree->Create(rect(), this, TreeFlags, TreeId)) {
            delete m_tree;
            m_tree = nullptr;
            return;
        }
    }
    m_tree->SetNotify(TRUE, this, [this](int, NMHDR& header) -> LRESULT {
        auto& notify = static_cast<OptionTreeNotify&>(header);
        if (notify.code == NotifyItemChanged && notify.item)
            OnOptionChanged(notify.item);
        return 0;
    });
    for (int index = 0; index < kRowCount; ++index)
        AddRow(index);
    // A custom size loaded from the settings is shown, so that a run reads it back unchanged.
    ShowPaperSize(m_options.PageSize, CustomSize::FromRecord);
    ApplyFontKind(m_options.PageFont);
    m_tree->RefreshItems(nullptr);
    m_tree->ExpandAllItems();
    emit OptionsChanged();
}

void CRightView::AddRow(int index)
{
    const OptionRow& def = kRows[index];
    std::unique_ptr<COptionTreeItemBase> made;
    switch (def.kind) {
    case Kind::Category:
    case Kind::Group: made = std::make_unique<COptionTreeItemBase>(); break;
    case Kind::Choice: made = std::make_unique<COptionTreeComboItem>(); break;
    case Kind::Number:
    case Kind::Text: made = std::make_unique<COptionTreeEditItem>(); break;
    case Kind::File: made = std::make_unique<COptionTreePathItem>(); break;
    }
    COptionTreeItemBase* item =
        m_tree->InsertItem(std::move(made), def.parent ? m_tree->FindItem(def.parent) : nullptr);
    if (!item)
        return;
    item->SetLabelText(QString::fromLatin1(def.label));
    item->SetInfoText(QString::fromLatin1(def.info));
    if (def.kind == Kind::Category) {
        item->SetLabelTextColor(RGB(0, 0, 0));
        item->SetLabelBackColor(PANE_COLOR);
    } else if (def.kind == Kind::Choice) {
        auto* combo = static_cast<COptionTreeComboItem*>(item);
        if (combo->CreateComboItem()) {
            for (const QString& entry : Entries(def.list))
                combo->AddString(entry);
            combo->SetCurSel(m_options.*def.number);
        }
    } else if (def.kind == Kind::Number || def.kind == Kind::Text) {
        auto* edit = static_cast<COptionTreeEditItem*>(item);
        const bool number = def.kind == Kind::Number;
        if (edit->CreateEditItem(number ? COptionTreeEditItem::NumericOnly : 0)) {
            if (number)
                edit->SetNumber(m_options.*def.number);
            else
                edit->SetWindowText(FromRecord(m_options.*def.text));
        }
    } else if (def.kind == Kind::File) {
        // The record's font file is shown, so that a run does not read back an empty row for it.
        static_cast<COptionTreePathItem*>(item)->CreatePathItem(
            FromRecord(m_options.*def.text), QString(), QString::fromLatin1(def.filter),
            COptionTreePathItem::OpenDialog | COptionTreePathItem::ShowFullPaths, OFN_OVERWRITEPROMPT);
    }
}

void CRightView::ShowPaperSize(int paper, CustomSize customSize)
{
    auto* width = dynamic_cast<COptionTreeEditItem*>(m_tree->FindItem(kPageWidthRow));
    auto* height = dynamic_cast<COptionTreeEditItem*>(m_tree->FindItem(kPageHeightRow));
    if (!width || !height)
        return;
    const bool custom = paper == kCustomPageSize;
    width->SetReadOnly(!custom);
    height->SetReadOnly(!custom);
    if (custom && customSize == CustomSize::AsTyped)
        return;
    if (custom && customSize == CustomSize::Emptied) {
        width->SetWindowText(QString());
        height->SetWindowText(QString());
        return;
    }
    int w = m_options.PageWidth;
    int h = m_options.PageHeight;
    LookupPaperSize(paper, w, h);
    width->SetNumber(w);
    height->SetNumber(h);
}

void CRightView::ApplyFontKind(int kind)
{
    if (kind < Base14Font || kind > CidFont)
        return;
    for (const FontKindRule& rule : kFontKindRules) {
        if (COptionTreeItemBase* item = m_tree->FindItem(rule.row))
            item->SetReadOnly(!rule.editable[kind]);
    }
}

// Writes one row's value into its field; the paper and font-kind rows also set the read-only
// rows that depend on them.
void CRightView::StoreRow(COptionTreeItemBase* item, CustomSize customSize)
{
    const int id = item->GetOptionItemId();
    if (id < 1 || id > kRowCount)
        return;
    const OptionRow& def = kRows[id - 1];
    switch (def.kind) {
    case Kind::Choice:
        m_options.*def.number = static_cast<COptionTreeComboItem*>(item)->GetCurSel();
        if (id == kPageSizeRow)
            ShowPaperSize(m_options.PageSize, customSize);
        else if (id == kPageFontRow)
            ApplyFontKind(m_options.PageFont);
        break;
    case Kind::Number:
        static_cast<COptionTreeEditItem*>(item)->GetNumber(m_options.*def.number);
        break;
    case Kind::Text:
        m_options.*def.text = ToRecord(static_cast<COptionTreeEditItem*>(item)->GetWindowText());
        break;
    case Kind::File:
        m_options.*def.text = ToRecord(static_cast<COptionTreePathItem*>(item)->GetSelectedPath());
        break;
    case Kind::Category:
    case Kind::Group:
        break;
    }
}

void CRightView::OnOptionChanged(COptionTreeItemBase* item)
{
    StoreRow(item, CustomSize::Emptied);
    m_tree->RefreshItems(nullptr);
    emit OptionsChanged();
}

ConversionOptions CRightView::ReadOptionsFromTree()
{
    if (!m_tree)
        return m_options;
    for (int id = kPageSizeRow; id <= kRowCount; ++id) {
        if (COptionTreeItemBase* item = m_tree->FindItem(id))
            StoreRow(item, CustomSize::AsTyped);
    }
    m_tree->RefreshItems(nullptr);
    return m_options;
}
