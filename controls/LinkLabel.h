#pragma once
// A pane label that opens an address (a web page, a "mailto:" link, a file) through the shell
// when clicked. It underlines its text, fits its size to the text and shows the address as a
// tooltip. It is written in the label's text colour, visited or not. A failed open beeps and
// explains the shell's result in a message box. GUI thread only.
#include "controls/PaneLabel.h"

#include <QCursor>

class CLinkLabel : public CPaneLabel {
    Q_OBJECT
public:
    // An empty address takes the text, an empty text takes the address.
    explicit CLinkLabel(const QString& text = QString(), const QString& url = QString(),
                        QWidget* parent = nullptr);

    void SetURL(const QString& url);
    QString GetURL() const { return m_strURL; }
    void SetVisited(BOOL visited);
    BOOL GetVisited() const { return m_bVisited; }
    // When on (the default), every change of the address resizes the label to its text.
    void SetAutoSize(BOOL fit) { m_bAdjustToFit = fit; }
    // When on, fitting keeps the label's vertical centre instead of its top.
    void SetCenterImage(BOOL centre) { m_bCenterImage = centre; }
    void SetLinkCursor(const QCursor& cursor) { setCursor(cursor); }

    // Resizes the label to its text, keeping the left edge, the right edge (right-aligned) or
    // the centre (centred), and the top or the vertical centre.
    void PositionWindow();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FollowLink();

    QString m_strURL;
    BOOL m_bVisited = FALSE;
    BOOL m_bAdjustToFit = TRUE;
    BOOL m_bCenterImage = FALSE;
};
