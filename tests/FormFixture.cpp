#include "FormFixture.h"

#include <qtestsupport_widgets.h>

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

template <typename Control>
Control* named(frmMain& form, const char* name) {
    auto* control = form.findChild<Control*>(QString::fromLatin1(name));
    if (!control) qFatal("the window has no control %s", name);
    return control;
}

Controls::Controls(frmMain& form)
    : owner(form), OptCursor(form.findChildren<QRadioButton*>(QStringLiteral("OptCursor"))) {}

namespace {

std::unique_ptr<frmMain> load(const QTemporaryDir& dir, const QByteArray& ini) {
    AppInfo::SetLocation(dir.path(), QStringLiteral("Vantrel"));
    if (!ini.isNull()) {
        QFile file(dir.filePath(QStringLiteral("Vantrel.ini")));
        file.open(QIODevice::WriteOnly);
        file.write(ini);
    }
    auto form = std::make_unique<frmMain>();
    form->Form_Load();
    return form;
}

}  // namespace

LoadedForm::LoadedForm(const QByteArray& ini) : m_form(load(m_dir, ini)), ui(*m_form) {}

LoadedForm::~LoadedForm() {
    m_form.reset();
    AppInfo::SetLocation(QString(), QString());
}

QString LoadedForm::IniPath() const { return m_dir.filePath(QStringLiteral("Vantrel.ini")); }

QByteArray LoadedForm::IniContent() const {
    QFile file(IniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool LoadedForm::ShowActive() {
    m_form->show();
    m_form->activateWindow();
    return QTest::qWaitForWindowActive(m_form.get());
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
