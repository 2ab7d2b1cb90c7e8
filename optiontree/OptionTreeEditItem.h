#pragma once
// A row whose value is typed: free text, or with NumericOnly a whole number (only digits can
// be typed; GetNumber reads the number back). The edit window is made by CreateEditItem after
// the row is inserted; Enter or moving to another window of the tree commits. GUI thread only.
#include "optiontree/OptionTreeEditorItem.h"

#include <QString>

class TitleTipEdit;

class COptionTreeEditItem : public COptionTreeEditorItem {
    Q_OBJECT
public:
    static constexpr DWORD NumericOnly = 0x200;

    // FALSE when the row is not inserted into a created tree or already has its window.
    BOOL CreateEditItem(DWORD options);
    TitleTipEdit* GetEdit() const;
    DWORD GetOptions() const { return m_options; }

    void SetWindowText(const QString& text);
    QString GetWindowText() const;
    void SetNumber(int number);
    // TRUE with the leading whole number of the text when the row is numeric and IsNumeric
    // accepts its text; otherwise FALSE with 0.
    BOOL GetNumber(int& number) const;
    // TRUE when text holds a digit and no letter or any of `~[]{}-_=+\|'/?>,<
    static BOOL IsNumeric(const QString& text);

    void DrawAttribute(QPainter& painter, const QRect& rect) override;
    void OnActivate() override;

protected:
    bool OnEditorKey(QKeyEvent* event) override;
    void RevertEditor() override;

private:
    DWORD m_options = 0;
    QString m_startText;
};
