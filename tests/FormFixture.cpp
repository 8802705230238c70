#include "FormFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

#include "platform/runtime/AppInfo.h"
#include "platform/widgets/PictureBox.h"

LoadedForm::LoadedForm(const QByteArray& ini) {
    AppInfo::SetLocation(m_dir.path(), QStringLiteral("Vantrel"));
    if (!ini.isNull()) {
        QFile file(IniPath());
        file.open(QIODevice::WriteOnly);
        file.write(ini);
    }
    m_form = std::make_unique<frmMain>();
    m_form->Form_Load();
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

int CountColour(PictureBox& box, const QColor& colour) {
    const QImage& image = box.Image();
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
