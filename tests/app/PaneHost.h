#pragma once
// The two panes in the real main window, with a scratch folder, a shell that only records, and
// helpers that drive the panes as a user does: the dialogs, drops, clicks on check boxes and
// cells, typing, and the option tree.
#include "app/LeftView.h"
#include "app/RightView.h"
#include "conversion/ConversionOptions.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

class COptionTreeItemBase;

struct ShellCall {
    QString verb;
    QString target;
    bool operator==(const ShellCall&) const = default;
};

class PaneHost : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file in the scratch folder (folders on the way are made).
    QString Write(const QString& name, const QByteArray& bytes);
    QString Path(const QString& name) const { return scratch.filePath(name); }

    // Open File with the dialog: the names (in the scratch folder) typed and Open pressed.
    void AddWithOpenFile(const QStringList& names);
    // Import Directory with the dialog: the folder typed and Select pressed.
    void AddWithImportDirectory(const QString& folder);
    // Drops local files and folders on the file list as a file manager does.
    void Drop(const QStringList& paths);
    // Runs `during` once the modal dialog or box that `open` raises is up.
    void WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& during);

    QPoint CellPoint(int row, int col) const;
    void ClickCell(int row, int col, Qt::MouseButton button = Qt::LeftButton);
    void ClickCheckBox(int row);
    bool IsChecked(int row) const;
    // Opens the cell's editor with a double click, types and presses Enter.
    void TypePassword(int row, int col, const QString& text);
    QString CellText(int row, int col) const;

    // The option tree: a choice row set to `index`, an edit row given `text`; each committed as
    // the user commits, by moving to another row of the tree.
    void Choose(int id, int index);
    void TypeIntoRow(int id, const QString& text);
    COptionTreeItemBase* Row(int id) const;

    // Starts a run with the Start button; returns when it has ended.
    void ClickStart();
    void ClickButton(int id);

    ConversionOptions options;
    QTemporaryDir scratch;
    std::unique_ptr<QWidget> window;
    CLeftView* left = nullptr;
    CRightView* right = nullptr;
    std::vector<ShellCall> shell;
    int shellResult = 42; // what the recording shell answers: above 32 is success

private:
    void ClickRowLabel(COptionTreeItemBase* item);
    QPoint RowPoint(COptionTreeItemBase* item, int x) const;
};
