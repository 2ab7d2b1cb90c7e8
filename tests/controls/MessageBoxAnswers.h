#pragma once
// Answers the modal message boxes that code under test raises: each box seen is recorded and
// closed with the next answer; boxes beyond the answers given are closed with Escape, so that
// a test never hangs on a box it did not expect.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <deque>
#include <initializer_list>
#include <vector>

class MessageBoxAnswers {
public:
    struct Seen {
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };

    explicit MessageBoxAnswers(std::initializer_list<QMessageBox::StandardButton> answers = {})
        : m_answers(answers)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(10);
    }

    std::vector<Seen> seen;

private:
    void Poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        seen.push_back({box->text(), box->icon(), box->standardButtons()});
        if (m_answers.empty()) {
            box->reject();
            return;
        }
        QAbstractButton* button = box->button(m_answers.front());
        m_answers.pop_front();
        if (button)
            button->click();
        else
            box->reject();
    }

    std::deque<QMessageBox::StandardButton> m_answers;
    QTimer m_timer;
};
