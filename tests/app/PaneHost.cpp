#include "PaneHost.h"

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "controls/FECFileDialog.h"
#include "controls/IconButton.h"
#include "controls/SelectFolderDialog.h"
#include "grid/GridCellCheck.h"
#include "grid/GridCtrl.h"
#include "menubar/MenuXP.h"
#include "optiontree/OptionTreeComboItem.h"
#include "optiontree/OptionTreeCtrl.h"
#include "optiontree/OptionTreeEditItem.h"
#include "optiontree/OptionTreeRowsWnd.h"
#include "optiontree/TitleTipComboBox.h"
#include "optiontree/TitleTipEdit.h"
#include "platform/ShellRequest.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

void PaneHost::SetUp()
{
    SetShellHandler([this](const QString& verb, const QString& target) {
        shell.push_back({verb, target});
        return shellResult;
    });
    // The panes as the program shows them: in the real main window, with its menus and keys.
    InstallMenuHook();
    auto frame = std::make_unique<CMainFrame>(
        options, CMainFrame::Settings{scratch.path().toStdString() + "/",
                                      scratch.filePath("Settings.ini").toStdString(), "quillary-test", false});
    ASSERT_TRUE(frame->Create());
    frame->resize(1100, 640);
    left = frame->GetLeftView();
    right = frame->GetRightView();
    window = std::move(frame);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    // Typing into the cells and rows needs the keyboard focus, which X gives a while later.
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

void PaneHost::TearDown()
{
    window.reset();
    SetShellHandler({});
}

QString PaneHost::Write(const QString& name, const QByteArray& bytes)
{
    const QString path = Path(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

void PaneHost::WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& during)
{
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (seen || !modal || !modal->isVisible())
            return;
        seen = true;
        during(modal);
        // A dialog the test failed to close would hold the test until its time-out.
        if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible())
            dialog->reject();
    });
    poll.start(10);
    open();
    EXPECT_TRUE(seen);
    // The offscreen platform gives the focus back to no window when a dialog closes.
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

void PaneHost::AddWithOpenFile(const QStringList& names)
{
    WithModal([this] { ClickButton(CmdOpenFile); }, [&](QWidget* modal) {
        auto* dialog = qobject_cast<CFECFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(scratch.path());
        QStringList quoted;
        for (const QString& name : names)
            quoted << '"' + name + '"';
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(quoted.join(' '));
        dialog->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Open)->click();
    });
}

void PaneHost::AddWithImportDirectory(const QString& folder)
{
    WithModal([this] { ClickButton(CmdImportDirectory); }, [&](QWidget* modal) {
        auto* dialog = qobject_cast<CSelectFolderDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>("folderEdit")->setText(folder);
        dialog->findChild<QPushButton*>("selectButton")->click();
    });
}

void PaneHost::Drop(const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    ASSERT_TRUE(data.hasFormat("text/uri-list"));
    const QPoint at = CellPoint(1, 1);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(left, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(left, &drop);
}

QPoint PaneHost::CellPoint(int row, int col) const
{
    QRect rect;
    left->GetGrid()->GetCellRect(row, col, rect);
    return rect.center();
}

void PaneHost::ClickCell(int row, int col, Qt::MouseButton button)
{
    QTest::mouseClick(left->GetGrid()->viewport(), button, Qt::NoModifier, CellPoint(row, col));
}

void PaneHost::ClickCheckBox(int row)
{
    QRect rect;
    left->GetGrid()->viewport()->repaint();
    left->GetGrid()->GetCellRect(row, 0, rect);
    QTest::mouseClick(left->GetGrid()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(rect.left() + 10, rect.center().y()));
}

bool PaneHost::IsChecked(int row) const
{
    return left->GetGrid()->GetCell(row, 0) && static_cast<const CGridCellCheck*>(left->GetGrid()->GetCell(row, 0))->GetCheck();
}

void PaneHost::TypePassword(int row, int col, const QString& text)
{
    left->GetGrid()->viewport()->repaint();
    QTest::mouseDClick(left->GetGrid()->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(row, col));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

QString PaneHost::CellText(int row, int col) const
{
    return left->GetGrid()->GetItemText(row, col);
}

COptionTreeItemBase* PaneHost::Row(int id) const
{
    return right->GetOptionTree()->FindItem(id);
}

QPoint PaneHost::RowPoint(COptionTreeItemBase* item, int x) const
{
    COptionTreeCtrl* tree = right->GetOptionTree();
    tree->EnsureVisible(item);
    tree->EnsureLayout();
    return QPoint(x, item->GetLocation().y() - tree->GetYOffset() + item->GetHeight() / 2);
}

void PaneHost::ClickRowLabel(COptionTreeItemBase* item)
{
    COptionTreeCtrl* tree = right->GetOptionTree();
    QTest::mouseClick(tree->GetRowsWnd()->Client(), Qt::LeftButton, Qt::NoModifier,
                      RowPoint(item, tree->GetColumn() - 40));
}

void PaneHost::Choose(int id, int index)
{
    auto* item = dynamic_cast<COptionTreeComboItem*>(Row(id));
    ASSERT_NE(item, nullptr);
    COptionTreeCtrl* tree = right->GetOptionTree();
    QTest::mouseClick(tree->GetRowsWnd()->Client(), Qt::LeftButton, Qt::NoModifier,
                      RowPoint(item, tree->GetColumn() + 40));
    ASSERT_TRUE(item->GetComboBox()->hasFocus());
    item->GetComboBox()->setCurrentIndex(index);
    ClickRowLabel(Row(id == 1 ? 2 : 1));
}

void PaneHost::TypeIntoRow(int id, const QString& text)
{
    auto* item = dynamic_cast<COptionTreeEditItem*>(Row(id));
    ASSERT_NE(item, nullptr);
    COptionTreeCtrl* tree = right->GetOptionTree();
    QTest::mouseClick(tree->GetRowsWnd()->Client(), Qt::LeftButton, Qt::NoModifier,
                      RowPoint(item, tree->GetColumn() + 40));
    ASSERT_TRUE(item->GetEdit()->hasFocus());
    item->GetEdit()->selectAll();
    QTest::keyClick(item->GetEdit(), Qt::Key_Backspace);
    QTest::keyClicks(item->GetEdit(), text);
    QTest::keyClick(item->GetEdit(), Qt::Key_Return);
}

void PaneHost::ClickButton(int id)
{
    QTest::mouseClick(left->GetButton(id), Qt::LeftButton);
}

void PaneHost::ClickStart()
{
    ClickButton(CmdStartConvert);
    EXPECT_FALSE(left->IsBusy());
}
