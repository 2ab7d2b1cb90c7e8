// GUI tests are gtest cases that drive widgets with QtTest's event helpers; they need one
// QApplication for the whole program.
//
// A message box that no test answers would hold the whole program until the time-out of
// ctest: one left open for kBoxDeadlineMs fails the test that raised it and is closed.
#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int kBoxDeadlineMs = 10000;

void CloseForgottenBoxes()
{
    static QPointer<QMessageBox> watched;
    static QDeadlineTimer deadline;
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    if (box != watched) {
        watched = box;
        deadline = QDeadlineTimer(kBoxDeadlineMs);
        return;
    }
    if (!deadline.hasExpired())
        return;
    ADD_FAILURE() << "a message box nobody answered: " << box->text().toStdString();
    box->reject();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &CloseForgottenBoxes);
    watchdog.start(100);
    return RUN_ALL_TESTS();
}
