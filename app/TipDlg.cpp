#include "app/TipDlg.h"

#include "app/AppBitmaps.h"
#include "app/AppMessageBox.h"
#include "app/DialogUnits.h"
#include "platform/PrivateProfile.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr const char* kSection = "Tips";
constexpr int kUnitSize = 1000; // fgets buffer: 999 characters and the terminator

bool IsTip(const char* unit)
{
    return unit[0] != ' ' && unit[0] != '\t' && unit[0] != '\n' && unit[0] != ';';
}

} // namespace

CTipDlg::CTipDlg(const std::string& exeDirectory, const std::string& settingsPath, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_settingsPath(settingsPath)
    , m_bulb(AppBitmap(102))
{
    m_bStartup = GetPrivateProfileIntA(kSection, "TipOfDay", 1, m_settingsPath) != 0;
    OpenTipsFile(exeDirectory);
    CreateControls();
}

CTipDlg::~CTipDlg()
{
    if (!m_pStream)
        return;
    WritePrivateProfileStringA(kSection, "FilePos", std::to_string(std::ftell(m_pStream)), m_settingsPath);
    std::fclose(m_pStream);
}

void CTipDlg::OpenTipsFile(const std::string& exeDirectory)
{
    const long offset = GetPrivateProfileIntA(kSection, "FilePos", 0, m_settingsPath);
    m_pStream = std::fopen((exeDirectory + "tips.txt").c_str(), "r");
    if (!m_pStream) {
        m_strTip = QString::fromLatin1(kNoTipsFile);
        return;
    }
    const std::string stamp = FileTimeStamp(m_pStream);
    char saved[128];
    GetPrivateProfileStringA(kSection, "TimeStamp", "", saved, sizeof saved, m_settingsPath);
    long start = offset;
    if (stamp != saved) {
        WritePrivateProfileStringA(kSection, "TimeStamp", stamp, m_settingsPath);
        start = 0;
    }
    if (std::fseek(m_pStream, start, SEEK_SET) != 0) {
        AppMessageBox(nullptr, QString::fromLatin1(kTroubleReading));
        return;
    }
    GetNextTipString();
}

std::string CTipDlg::FileTimeStamp(std::FILE* file)
{
    struct statx facts {};
    std::time_t when = 0;
    if (statx(fileno(file), "", AT_EMPTY_PATH, STATX_BTIME | STATX_MTIME, &facts) == 0)
        when = (facts.stx_mask & STATX_BTIME) ? facts.stx_btime.tv_sec : facts.stx_mtime.tv_sec;
    char text[64] = "";
    if (!ctime_r(&when, text))
        return {};
    std::string stamp = text;
    while (!stamp.empty() && std::strchr(" \t\r\n", stamp.back()))
        stamp.pop_back();
    return stamp;
}

// Reads on to the next tip, starting over at the top at the end of the file. A second end of
// the file without a tip in between means there is none, and a failed rewind cannot be mended
// by trying again: both end the search.
void CTipDlg::GetNextTipString()
{
    char unit[kUnitSize];
    bool rewound = false;
    for (;;) {
        if (!std::fgets(unit, kUnitSize, m_pStream)) {
            if (rewound) {
                m_strTip = QString::fromLatin1(kNoTipsText);
                return;
            }
            if (std::fseek(m_pStream, 0, SEEK_SET) != 0) {
                AppMessageBox(this, QString::fromLatin1(kTroubleReading));
                m_strTip.clear();
                return;
            }
            rewound = true;
            continue;
        }
        if (IsTip(unit)) {
            m_strTip = QString::fromLocal8Bit(unit);
            return;
        }
    }
}

void CTipDlg::CreateControls()
{
    setWindowTitle(QStringLiteral("Tip of the Day"));
    const QFont font = CDialogUnits::DialogFont();
    setFont(font);
    const CDialogUnits units(font);
    setFixedSize(units.MapDialogSize(231, 164));

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(units.MapDialogRect(12, 11, 207, 123));
    m_headingArea = units.MapDialogRect(20, 17, 190, 111);

    m_tipText = new QLabel(m_strTip, this);
    m_tipText->setObjectName(QStringLiteral("tipText"));
    m_tipText->setGeometry(units.MapDialogRect(28, 63, 177, 60));
    m_tipText->setWordWrap(true);
    m_tipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_tipText->setAutoFillBackground(true);
    QPalette white = m_tipText->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_tipText->setPalette(white);

    m_startup = new QCheckBox(QStringLiteral("&Show Tips on StartUp"), this);
    m_startup->setGeometry(units.MapDialogRect(13, 146, 85, 10));
    m_startup->setChecked(m_bStartup);
    connect(m_startup, &QCheckBox::clicked, this, [this] { m_bStartup = !m_bStartup; });

    m_nextTip = new QPushButton(QStringLiteral("&Next Tip"), this);
    m_nextTip->setGeometry(units.MapDialogRect(109, 143, 50, 14));
    m_nextTip->setAutoDefault(false);
    m_nextTip->setEnabled(m_pStream != nullptr);
    connect(m_nextTip, &QPushButton::clicked, this, &CTipDlg::OnNextTip);

    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setGeometry(units.MapDialogRect(168, 143, 50, 14));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &CTipDlg::accept);
    close->setFocus();
}

void CTipDlg::OnNextTip()
{
    if (!m_pStream)
        return;
    GetNextTipString();
    m_tipText->setText(m_strTip);
}

void CTipDlg::accept()
{
    WritePrivateProfileStringA(kSection, "TipOfDay", m_bStartup ? "1" : "0", m_settingsPath);
    m_startup->setChecked(m_bStartup);
    QDialog::accept();
}

void CTipDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(m_headingArea, Qt::white);
    const int bandHeight = std::min(m_bulb.height(), m_headingArea.height());
    painter.drawPixmap(m_headingArea.topLeft(), m_bulb, QRect(0, 0, std::min(m_bulb.width(), m_headingArea.width()), bandHeight));
    QFont heading = font();
    heading.setBold(true);
    heading.setPointSize(font().pointSize() + 4);
    painter.setFont(heading);
    painter.setPen(Qt::black);
    const QRect band(m_headingArea.left() + m_bulb.width(), m_headingArea.top(), m_headingArea.width() - m_bulb.width(), bandHeight);
    painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, QString::fromLatin1(kDidYouKnow));
}
