#pragma once
// The About box (dialog 100): the product name, the web site and the support address as link
// labels, on the pane colour. A left or right mouse press anywhere on the box outside the links
// closes it as OK, as do Return and Escape. GUI thread only.
#include <QDialog>

class CLinkLabel;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    CLinkLabel* GetWebLink() const { return m_webLink; }
    CLinkLabel* GetSupportLink() const { return m_supportLink; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CLinkLabel* m_webLink;
    CLinkLabel* m_supportLink;
};
