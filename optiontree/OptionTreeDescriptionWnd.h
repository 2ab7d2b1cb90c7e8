#pragma once
// The description area along the bottom of the option tree: the focused row's label in bold
// and its help text, word-wrapped, below it. Owned by COptionTreeCtrl; GUI thread only.
#include <QWidget>

class COptionTreeCtrl;

class COptionTreeDescriptionWnd : public QWidget {
    Q_OBJECT
public:
    explicit COptionTreeDescriptionWnd(COptionTreeCtrl* tree);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    COptionTreeCtrl* m_tree;
};
