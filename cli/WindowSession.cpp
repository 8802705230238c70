#include "cli/WindowSession.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <vector>

#include "app/frmMain.h"
#include "cli/ReplayLine.h"
#include "graph/GraphPrintout.h"
#include "platform/AppInfo.h"
#include "platform/ComboBox.h"
#include "platform/CommControl.h"
#include "platform/MsgBox.h"
#include "platform/PictureBox.h"
#include "platform/SettingError.h"
#include "settings/CSetting.h"

namespace {

const QString kWindowName = QStringLiteral("Vantrel");
const QString kOpenFailed = QStringLiteral("Error in btnCollectDisplayData_Click routine");
const QString kReadFailed = QStringLiteral("Error in GetLine routine");
constexpr int kPortCount = 16;
// A replayed answer counts as run dry once the line has stayed empty over
// this many checks in a row; a single empty look could fall between the
// terminal's delivery of two chunks.
constexpr int kDryChecks = 3;
constexpr int kDryCheckMs = 20;
constexpr double kImageScale = 2;

}  // namespace

std::unique_ptr<WindowSession> WindowSession::Open(const QString& windowFolder, QString* error) {
    std::unique_ptr<WindowSession> session(new WindowSession);
    if (!session->m_settingsFolder.isValid()) {
        *error = QStringLiteral("cannot make a private settings folder: %1")
                     .arg(session->m_settingsFolder.errorString());
        return nullptr;
    }
    session->load(windowFolder);
    return session;
}

void WindowSession::load(const QString& windowFolder) {
    RouteMsgBox([this](const QString& prompt) { m_messages << prompt; });
    AppInfo::SetLocation(m_settingsFolder.path(), kWindowName);
    m_form = std::make_unique<frmMain>();
    m_form->Form_Load();
    // The settings object has taken its file; from here on the window's
    // port texts and the mapping of Com<n> name the user's Vantrel.ini,
    // which the window only reads when it opens a port.
    AppInfo::SetLocation(windowFolder, kWindowName);
}

WindowSession::~WindowSession() {
    m_form.reset();
    RouteMsgBox({});
    AppInfo::SetLocation(QString(), QString());
}

std::int16_t WindowSession::RememberedPort(const QString& windowFolder) {
    CSetting setting;
    setting.Init(windowFolder, kWindowName, 1);
    std::int16_t port = 1;
    try {
        port =
            setting.GetSettingInt(QStringLiteral("Configuration"), QStringLiteral("CommPort"), 1);
    } catch (const SettingError&) {
        port = 1;  // beyond 16 bits: as unusable as any value out of range
    }
    return port < 1 || port > kPortCount ? std::int16_t(1) : port;
}

void WindowSession::SelectBand(int row) { m_form->MnComboFScale->SetListIndex(row); }

QString WindowSession::BandText() const { return m_form->MnComboFScale->Text().trimmed(); }

void WindowSession::UsePort(int comNumber, const QString& device) {
    m_form->cntlComm->SetCommPort(std::int16_t(comNumber));
    m_form->cntlComm->SetDeviceOverride(device);
}

WindowSession::Outcome WindowSession::Scan(double timeoutSeconds, const ReplayLine* replay) {
    if (m_stopped) return {End::Stopped, QString()};
    m_messages.clear();
    m_stopReason.reset();

    QTimer quiet;
    quiet.setSingleShot(true);
    if (timeoutSeconds > 0) {
        quiet.setInterval(int(std::ceil(timeoutSeconds * 1000)));
        connect(&quiet, &QTimer::timeout, this, [this] { stopFor(End::TimedOut); });
        connect(m_form->cntlComm, &CommControl::BytesArrived, &quiet, qOverload<>(&QTimer::start));
        quiet.start();
    }
    QTimer dry;
    int dryChecks = 0;
    if (replay) {
        connect(&dry, &QTimer::timeout, this, [&] {
            const bool empty = replay->RanOut() && !m_form->cntlComm->BytesWaiting();
            dryChecks = empty ? dryChecks + 1 : 0;
            if (dryChecks >= kDryChecks) stopFor(End::RanOut);
        });
        dry.start(kDryCheckMs);
    }

    m_form->btnCollectDisplayData->click();

    for (const QString& message : m_messages) {
        const QString routine = message.section(u'\n', 0, 0);
        const QString description = message.section(u'\n', 1);
        if (routine == kOpenFailed) return {End::PortFailed, description};
        if (routine == kReadFailed) return {End::AnswerBroke, description};
    }
    // Any other box would be a failure this session does not know by name.
    if (!m_messages.isEmpty()) return {End::AnswerBroke, m_messages.join(u'\n')};
    if (m_stopReason) return {*m_stopReason, QString()};
    return {End::Complete, QString()};
}

void WindowSession::Stop() {
    m_stopped = true;
    stopFor(End::Stopped);
}

void WindowSession::stopFor(End reason) {
    if (!m_form->btnStopCollectData->isEnabled()) return;
    if (!m_stopReason) m_stopReason = reason;
    m_form->btnStopCollectData->click();
}

SweepRecord WindowSession::Record() const {
    const frmMain& form = *m_form;
    SweepRecord record;
    const double start = form.Scan_Start.Number();
    const double end = form.Scan_End.Number();
    record.startHz = 100 * start;
    record.endHz = 100 * end;
    const int last = form.NumPoints;
    const ScanData& data = form.ScanPoints();
    record.points.reserve(std::size_t(std::max(last + 1, 0)));
    for (int i = 0; i <= last; ++i) {
        const double units = last == 0 ? start : start + i * (end - start) / last;
        record.points.push_back({100 * units, data(i, 0), data(i, 1), data(i, 2)});
    }
    return record;
}

QImage WindowSession::GraphImage(const QString& title) const {
    const std::vector<PictureBox*> strips{m_form->picSWR, m_form->grphSWRDisplay, m_form->picRes,
                                          m_form->picFreq};
    QRectF bounds;
    for (const PictureBox* box : strips) bounds |= QRectF(box->geometry());
    // The printout's layout: a title line, the strips as large as the page's
    // width allows, the legend. The page is drawn taller than that needs, and
    // the white rows left under the legend are cut off afterwards.
    const QSize page(int(std::ceil(bounds.width() * kImageScale)),
                     int(std::ceil(bounds.height() * kImageScale * 1.25)));
    QImage image(page, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintGraphPage(painter, QRectF(QPointF(0, 0), QSizeF(page)), title, frmMain::PrintLegend(),
                       strips);
    }
    const auto blankRow = [&image](int y) {
        const QRgb white = qRgb(255, 255, 255);
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != white) return false;
        }
        return true;
    };
    int height = image.height();
    while (height > 1 && blankRow(height - 1)) --height;
    return image.copy(0, 0, image.width(), height);
}
