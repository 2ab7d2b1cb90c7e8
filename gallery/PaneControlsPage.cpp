// The file-list pane's own controls on the pane colour: progress bars in their states, icon
// buttons, labels, link labels, the preview box and the splitter; and the two file dialogs,
// embedded so that a screenshot shows them.
#include "GalleryPages.h"

#include "controls/FECFileDialog.h"
#include "controls/IconButton.h"
#include "controls/LinkLabel.h"
#include "controls/PaneLabel.h"
#include "controls/PaneSplitter.h"
#include "controls/PreviewEdit.h"
#include "controls/SelectFolderDialog.h"
#include "controls/TextProgressCtrl.h"

#include <QDir>
#include <QVBoxLayout>

namespace {

QWidget* PaneColouredPage()
{
    auto* page = new QWidget;
    QPalette palette = page->palette();
    palette.setColor(QPalette::Window, QColor(207, 234, 254));
    page->setPalette(palette);
    page->setAutoFillBackground(true);
    return page;
}

CTextProgressCtrl* Bar(QWidget* page, QRect where, int pos, const QString& caption = QString(), DWORD style = 0)
{
    auto* bar = new CTextProgressCtrl(page, style);
    bar->setGeometry(where);
    bar->SetPos(pos);
    bar->SetWindowText(caption);
    return bar;
}

CPaneLabel* Label(QWidget* page, QRect where, const QString& text)
{
    auto* label = new CPaneLabel(text, page);
    label->setGeometry(where);
    return label;
}

void AddProgressBars(QWidget* page)
{
    Bar(page, {10, 10, 300, 20}, 50);
    Bar(page, {10, 40, 300, 20}, 37, "File 2 of 5, 37%");
    Bar(page, {10, 70, 300, 20}, 0, "Waiting for converting.");
    CTextProgressCtrl* coloured = Bar(page, {10, 100, 300, 20}, 73);
    coloured->SetBarColor(RGB(47, 158, 68));
    coloured->SetBkColor(RGB(255, 244, 200));
    coloured->SetTextColor(RGB(180, 0, 0));
    Bar(page, {10, 130, 300, 20}, 64, QString(10000, QChar('W')));
    Bar(page, {10, 160, 300, 20}, 5)->SetRange32(1, 1);
    Bar(page, {320, 10, 20, 170}, 60, QString(), PBS_VERTICAL);
}

// The bottom of the file-list pane, at its real sizes.
void AddRunControls(QWidget* page)
{
    const int top = 200;
    const UINT icons[] = {IDI_OPEN_FILE, IDI_IMPORT_DIRECTORY, IDI_REMOVE_SELECTED, IDI_CLEAR_ALL_SELECTED,
                          IDI_START_CONVERT, IDI_STOP_CONVERT};
    const char* tips[] = {"Open File (Ctrl+O)", "Open Directory (Ctrl+D)", "Remove Current Selected Item (Del)",
                          "Clear All Selected (Ctrl+X)", "Start Convert (F5)", "Stop Convert (Shift+F5)"};
    for (int i = 0; i < 6; ++i) {
        auto* button = new CIconButton(page);
        button->setGeometry(5 + 52 * i, top, 32, 32);
        button->SetIcon(icons[i]);
        button->SetTooltipText(tips[i], TRUE);
        button->DrawTransparent(FALSE);
        button->setEnabled(i != 5);
    }
    Label(page, {5 + 52 * 6 + 10, top, 40, 12}, "Current");
    Bar(page, {5 + 52 * 6 + 58, top, 200, 12}, 45);
    Label(page, {5 + 52 * 6 + 10, top + 20, 40, 12}, "Total");
    Bar(page, {5 + 52 * 6 + 58, top + 20, 200, 12}, 0, "Waiting for converting.");
}

void AddLabels(QWidget* page)
{
    int y = 250;
    const auto row = [&](const QString& text, auto&& style) {
        CPaneLabel* label = Label(page, {10, y, 330, 16}, text);
        style(*label);
        y += 18;
    };
    row("Plain label", [](CPaneLabel&) {});
    row("Bold label", [](CPaneLabel& l) { l.SetBold(TRUE); });
    row("Italic, underlined label", [](CPaneLabel& l) { l.SetItalic(TRUE); l.SetUnderline(TRUE); });
    row("Struck-out label", [](CPaneLabel& l) { l.SetStrikeOut(TRUE); });
    row("Centred smooth label", [](CPaneLabel& l) { l.SetCentered(TRUE); l.SetSmooth(TRUE); });
    row("Right-aligned red label", [](CPaneLabel& l) { l.SetRightAligned(TRUE); l.SetTextColor(RGB(200, 0, 0)); });
    CPaneLabel* wrapped = Label(page, {10, y, 200, 48},
                                "A longer label text that wraps at word boundaries inside its rectangle.");
    wrapped->SetFontHeight(9);
    y += 56;

    auto* site = new CLinkLabel("https://quillary.example.org/", "", page);
    site->move(10, y);
    site->PositionWindow();
    site->SetLinkCursor(Qt::PointingHandCursor);
    auto* mail = new CLinkLabel("support@quillary.example.org", "mailto:support@quillary.example.org", page);
    mail->move(10, y + 20);
    mail->PositionWindow();
    mail->SetVisited(TRUE);
}

void AddPreviewAndSplitter(QWidget* page)
{
    auto* preview = new CPreviewEdit(page);
    preview->setGeometry(360, 10, 600, 170);
    preview->setPlainText("Quillary turns plain-text files into PDF documents.\n\n"
                          "Collect the text files in the list, tick the ones to convert,\n"
                          "set the options and press Start Convert (F5).\n\n"
                          "This box is read-only; right-click it for Copy and Select All.");

    auto* splitter = new CPaneSplitter(page);
    splitter->setGeometry(360, 250, 600, 200);
    for (const char* text : {"Left pane (at least 200 pixels)", "Right pane"}) {
        auto* pane = new CPaneLabel(text);
        pane->SetBkColor(RGB(255, 255, 255));
        pane->SetCentered(TRUE);
        splitter->addWidget(pane);
    }
    splitter->SetColumnInfo(0, 260, 200);
}

QWidget* MakePaneControlsPage()
{
    QWidget* page = PaneColouredPage();
    AddProgressBars(page);
    AddRunControls(page);
    AddLabels(page);
    AddPreviewAndSplitter(page);
    return page;
}

// A dialog shown as a child widget of the page instead of a window of its own.
QWidget* Embedded(QDialog* dialog)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    dialog->setWindowFlags(Qt::Widget);
    dialog->setSizeGripEnabled(false);
    layout->addWidget(dialog);
    return page;
}

GalleryPageRegistration paneControls("Pane controls", MakePaneControlsPage);
GalleryPageRegistration folderDialog("Folder dialog", [] {
    return Embedded(new CSelectFolderDialog(TRUE, QDir::homePath(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                                            "PDF Files (*.pdf)|*.pdf||"));
});
GalleryPageRegistration fileDialog("File dialog", [] {
    auto* dialog = new CFECFileDialog(TRUE, "txt", "", OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT,
                                      "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||");
    dialog->setDirectory(QDir::homePath());
    return Embedded(dialog);
});

} // namespace
