#pragma once
// Tip of the Day (dialog 103): one tip at a time from tips.txt next to the executable. Each
// construction reads the next tip, and destruction saves where reading stopped (section "Tips"
// of Settings.ini: "FilePos", and "TimeStamp", the tips file's creation time, so that a
// replaced file starts again at the top). "&Close" saves the show-at-start-up box as
// "TipOfDay"; Escape forgets a change of it.
//
// Lines starting with a blank, a tab, a line end or ";" are no tips. A file with no tip at all
// shows kNoTipsText; a file that cannot be read back from its start shows an empty tip after
// one message. GUI thread only.
#include <QDialog>

#include <cstdio>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;

class CTipDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kDidYouKnow = "Did you know...";                                          // 106
    static constexpr const char* kNoTipsFile = "Tips file does not exist in the prescribed directory";   // 107
    static constexpr const char* kTroubleReading = "Trouble reading the tips file";                     // 108
    static constexpr const char* kNoTipsText = "The tips file holds no tips.";

    CTipDlg(const std::string& exeDirectory, const std::string& settingsPath, QWidget* parent = nullptr);
    ~CTipDlg() override;

    bool GetShowAtStartup() const { return m_bStartup; }
    QString GetTipText() const { return m_strTip; }

    // The time text of an open file: its birth time where the file system keeps one, else its
    // modification time, in ctime's fixed form without the line end.
    static std::string FileTimeStamp(std::FILE* file);

public slots:
    void OnNextTip();
    void accept() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OpenTipsFile(const std::string& exeDirectory);
    void GetNextTipString();
    void CreateControls();

    std::string m_settingsPath;
    std::FILE* m_pStream = nullptr;
    bool m_bStartup = true;
    QString m_strTip;
    QRect m_headingArea;
    QPixmap m_bulb;
    QLabel* m_tipText = nullptr;
    QCheckBox* m_startup = nullptr;
    QPushButton* m_nextTip = nullptr;
};
