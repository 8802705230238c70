#include "FormFixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "platform/runtime/AppInfo.h"
#include "platform/serial/CommControl.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/PictureBox.h"

namespace {

template <typename Control>
Control* named(frmMain& form, const char* name) {
    auto* control = form.findChild<Control*>(QString::fromLatin1(name));
    if (!control) qFatal("the window has no control %s", name);
    return control;
}

}  // namespace

Controls::Controls(frmMain& form)
    : picSWR(named<PictureBox>(form, "picSWR")),
      grphSWRDisplay(named<PictureBox>(form, "grphSWRDisplay")),
      picRes(named<PictureBox>(form, "picRes")),
      picFreq(named<PictureBox>(form, "picFreq")),
      FrameGraph(named<QGroupBox>(form, "FrameGraph")),
      FrameDP(named<QGroupBox>(form, "FrameDP")),
      FrameComm(named<QGroupBox>(form, "FrameComm")),
      OptCursor(form.findChildren<QRadioButton*>(QStringLiteral("OptCursor"))),
      MnComboDisplay(named<ComboBox>(form, "MnComboDisplay")),
      MnComboFScale(named<ComboBox>(form, "MnComboFScale")),
      LblPoints(named<QLabel>(form, "LblPoints")),
      cmboCommPort(named<ComboBox>(form, "cmboCommPort")),
      btnCollectDisplayData(named<QPushButton>(form, "btnCollectDisplayData")),
      btnStopCollectData(named<QPushButton>(form, "btnStopCollectData")),
      btnExit(named<QPushButton>(form, "btnExit")),
      LblVersion(named<QLabel>(form, "LblVersion")),
      LblCredit(named<QLabel>(form, "LblCredit")),
      cntlComm(named<CommControl>(form, "cntlComm")),
      mnuFilePrint(named<QAction>(form, "mnuFilePrint")),
      mnuFileExit(named<QAction>(form, "mnuFileExit")),
      mnuAbout(named<QAction>(form, "mnuAbout")),
      mnuAboutKestrel(named<QAction>(form, "mnuAboutKestrel")) {}

LoadedForm::LoadedForm(const QByteArray& ini) {
    AppInfo::SetLocation(m_dir.path(), QStringLiteral("Vantrel"));
    if (!ini.isNull()) {
        QFile file(IniPath());
        file.open(QIODevice::WriteOnly);
        file.write(ini);
    }
    m_form = std::make_unique<frmMain>();
    m_form->Form_Load();
    ui = Controls(*m_form);
}

LoadedForm::~LoadedForm() {
    m_form.reset();
    AppInfo::SetLocation(QString(), QString());
}

QString LoadedForm::IniPath() const { return m_dir.filePath(QStringLiteral("Vantrel.ini")); }

QByteArray LoadedForm::IniContent() const {
    QFile file(IniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int CountColour(Drawing& drawing, const QColor& colour) {
    const QImage& image = drawing.Image();
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
    }
    return n;
}

int OpenDescriptors() {
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

MessageBoxCatcher::MessageBoxCatcher(std::chrono::milliseconds interval) : m_timer(new QTimer) {
    QObject::connect(m_timer, &QTimer::timeout, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            titles << box->windowTitle();
            texts << box->text();
            box->accept();
        }
    });
    m_timer->start(interval);
}

MessageBoxCatcher::~MessageBoxCatcher() { delete m_timer; }
