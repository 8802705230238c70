#include "app/frmMain.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "graph/GraphLayout.h"
#include "platform/drawing/Fonts.h"
#include "platform/drawing/Twips.h"
#include "platform/runtime/AppInfo.h"
#include "platform/serial/CommControl.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/FrameStyle.h"
#include "platform/widgets/OptionButton.h"
#include "platform/widgets/PictureBox.h"

namespace {

constexpr int kClientWidth = 700;   // 10500 twips
constexpr int kClientHeight = 524;  // 7860 twips
const QColor& kLightYellow = GraphLayout::kLightYellow;
const QColor kActiveBorder(180, 180, 180);  // the platform's "active window border" colour

// Places a control at a position and size given in twips.
void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(Twips::ToPixels(left), Twips::ToPixels(top), Twips::ToPixels(width),
                   Twips::ToPixels(height));
}

void place(QWidget* w, const QRect& twips) {
    place(w, twips.left(), twips.top(), twips.width(), twips.height());
}

void paintBackground(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Base, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::ButtonText, colour);
    w->setPalette(p);
}

QLabel* transparentLabel(const QString& text, QWidget* parent, Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(align | Qt::AlignTop);  // a label paints no background of its own
    return label;
}

PictureBox* strip(QWidget* parent, const QColor& back, const QColor& fore) {
    auto* box = new PictureBox(parent);
    box->SetBackColor(back);
    box->SetForeColor(fore);
    return box;
}

}  // namespace

// A fixed dialog frame: title, system menu and close box, nothing to minimize
// or maximize with; the fixed size below keeps it from being resized.
frmMain::frmMain()
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                               Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(QStringLiteral("ZM-340 Antenna Surveyor Control Panel"));
    setWindowIcon(QIcon(QStringLiteral(":/resources/icon.png")));
    setFont(Fonts::DialogFont(true));
    CreateMenus();
    CreateControls();
    ConnectHandlers();
    SetTabOrder();
    // The client area below the menu bar never changes.
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    if (const QScreen* display = screen()) move(display->geometry().center() - rect().center());
}

frmMain::~frmMain() = default;

void frmMain::CreateMenus() {
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFilePrint = mnuFile->addAction(QStringLiteral("&Print"));
    mnuFileExit = mnuFile->addAction(QStringLiteral("E&xit"));
    QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuAbout = mnuHelp->addAction(QStringLiteral("&About Vantrel"));
    mnuAboutKestrel = mnuHelp->addAction(QStringLiteral("About Kestrel Club"));
}

void frmMain::CreateControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    {
        QPalette p = client->palette();
        p.setColor(QPalette::Window, kActiveBorder);
        p.setBrush(QPalette::Window, QBrush(QImage(QStringLiteral(":/resources/background.jpg"))));
        p.setColor(QPalette::WindowText, QColor(0, 255, 0));
        client->setPalette(p);
        client->setAutoFillBackground(true);
    }
    setCentralWidget(client);
    const QColor windowText = palette().color(QPalette::WindowText);
    const QFont regular = Fonts::DialogFont(false);

    picSWR = strip(client, kLightYellow, windowText);
    picSWR->SetScaleMode(PictureBox::ScaleMode::Pixels);
    place(picSWR, GraphLayout::kSwrStrip);
    picSWR->SetPicture(QImage(QString::fromLatin1(GraphLayout::kSwrStripPicture)));

    grphSWRDisplay = strip(client, GraphLayout::kPlotColour, windowText);
    place(grphSWRDisplay, GraphLayout::kPlot);

    picRes = strip(client, kLightYellow, windowText);
    place(picRes, GraphLayout::kOhmStrip);
    picRes->SetPicture(QImage(QString::fromLatin1(GraphLayout::kOhmStripPicture)));

    picFreq = strip(client, kLightYellow, windowText);
    place(picFreq, GraphLayout::kFrequencyStrip);
    for (PictureBox* box : {picSWR, grphSWRDisplay, picRes, picFreq}) {
        setTextColour(box, windowText);
    }
    // Text is measured in the window's font, whatever the strips print in.
    m_graph = std::make_unique<GraphPainter>(*grphSWRDisplay, *picRes, *picFreq, font());

    FrameGraph = new QGroupBox(QStringLiteral("Graph Controls"), client);
    place(FrameGraph, 360, 6360, 3855, 1095);
    FrameDP = new QGroupBox(QStringLiteral("Data Points"), client);
    place(FrameDP, 4440, 6360, 1815, 615);
    FrameComm = new QGroupBox(QStringLiteral("Comm Settings"), client);
    place(FrameComm, 6600, 6480, 1935, 975);
    auto* frameStyle = new FrameStyle;
    frameStyle->setParent(this);
    for (QGroupBox* frame : {FrameGraph, FrameDP, FrameComm}) {
        frame->setStyle(frameStyle);
        paintBackground(frame, kLightYellow);
        setTextColour(frame, windowText);
    }

    // Stop lies beneath Start in the same rectangle: Start covers it while idle.
    btnStopCollectData = new QPushButton(QStringLiteral("Stop Request"), client);
    place(btnStopCollectData, 4440, 7080, 1815, 375);
    btnStopCollectData->setEnabled(false);
    btnCollectDisplayData = new QPushButton(QStringLiteral("Start Scan"), client);
    place(btnCollectDisplayData, 4440, 7080, 1815, 375);
    btnCollectDisplayData->setFont(Fonts::DialogFont(true, 13));
    btnCollectDisplayData->setToolTip(QStringLiteral("Start Data Collection"));
    btnCollectDisplayData->raise();

    btnExit = new QPushButton(QStringLiteral("EXIT"), client);
    place(btnExit, 8880, 6720, 1215, 615);

    LblVersion = transparentLabel(QStringLiteral("Version"), client, Qt::AlignLeft);
    LblVersion->setFont(regular);
    place(LblVersion, 120, 7560, 1215, 255);
    LblCredit = transparentLabel(AppInfo::Credit(), client, Qt::AlignRight);
    LblCredit->setFont(regular);
    place(LblCredit, 7680, 7560, 2655, 255);

    // One option button per quantity, one under the other, in its colour.
    constexpr int kOptionWidths[] = {855, 1335, 1335};
    static_assert(std::size(kOptionWidths) == kQuantities.size());
    for (std::size_t i = 0; i < OptCursor.size(); ++i) {
        const QString caption = QString::fromLatin1(kQuantities[i].caption);
        auto* option = new OptionButton(caption, FrameGraph);
        place(option, 120, 240 * int(i + 1), kOptionWidths[i], 255);
        setTextColour(option, QColor::fromRgb(kQuantities[i].colour));
        paintBackground(option, kLightYellow);
        // A button fills its rectangle with the button colour, not the window's.
        QPalette p = option->palette();
        p.setColor(QPalette::Button, kLightYellow);
        option->setPalette(p);
        option->setToolTip(QStringLiteral("Display %1 under cursor").arg(caption));
        OptCursor[i] = option;
    }

    LblDisplay = transparentLabel(QStringLiteral("Display"), FrameGraph, Qt::AlignRight);
    place(LblDisplay, 1320, 240, 735, 255);
    MnComboDisplay = new ComboBox(FrameGraph);
    place(MnComboDisplay, 2160, 240, 1455, 315);
    MnComboDisplay->setEditText(QStringLiteral("Combo1"));
    MnComboDisplay->setToolTip(QStringLiteral("Graph<s> to display"));
    MnComboDisplay->SetLocked(true);

    LblBand = transparentLabel(QStringLiteral("Band"), FrameGraph, Qt::AlignRight);
    place(LblBand, 1560, 600, 495, 255);
    MnComboFScale = new ComboBox(FrameGraph);
    place(MnComboFScale, 2160, 600, 1455, 315);
    MnComboFScale->setEditText(QStringLiteral("Combo2"));
    MnComboFScale->setToolTip(QStringLiteral("Band Select"));
    MnComboFScale->SetLocked(true);

    LblPoints = transparentLabel(QString(), FrameDP, Qt::AlignHCenter);
    LblPoints->setFont(regular);
    place(LblPoints, 120, 240, 1575, 255);
    LblPoints->setToolTip(QStringLiteral("Data Points Received"));

    cmboCommPort = new ComboBox(FrameComm);
    place(cmboCommPort, 360, 360, 1215, 315);
    cmboCommPort->setEditText(QStringLiteral("Combo1"));

    cntlComm = new CommControl(this);

    // Each control answers to its name, the option buttons all to theirs.
    const std::pair<QObject*, const char*> names[] = {
        {picSWR, "picSWR"},
        {grphSWRDisplay, "grphSWRDisplay"},
        {picRes, "picRes"},
        {picFreq, "picFreq"},
        {FrameGraph, "FrameGraph"},
        {FrameDP, "FrameDP"},
        {FrameComm, "FrameComm"},
        {LblDisplay, "LblDisplay"},
        {LblBand, "LblBand"},
        {MnComboDisplay, "MnComboDisplay"},
        {MnComboFScale, "MnComboFScale"},
        {LblPoints, "LblPoints"},
        {cmboCommPort, "cmboCommPort"},
        {btnCollectDisplayData, "btnCollectDisplayData"},
        {btnStopCollectData, "btnStopCollectData"},
        {btnExit, "btnExit"},
        {LblVersion, "LblVersion"},
        {LblCredit, "LblCredit"},
        {cntlComm, "cntlComm"},
        {mnuFilePrint, "mnuFilePrint"},
        {mnuFileExit, "mnuFileExit"},
        {mnuAbout, "mnuAbout"},
        {mnuAboutKestrel, "mnuAboutKestrel"},
    };
    for (const auto& [control, name] : names) control->setObjectName(QString::fromLatin1(name));
    for (QRadioButton* option : OptCursor) option->setObjectName(QStringLiteral("OptCursor"));
}

void frmMain::SetTabOrder() {
    // Focusable controls in the order of their stored tab indexes; the
    // picture boxes, frames and labels take no focus.
    const QWidget* order[] = {btnCollectDisplayData, MnComboFScale,      MnComboDisplay,
                              cmboCommPort,          btnStopCollectData, OptCursor[2],
                              OptCursor[1],          OptCursor[0],       btnExit};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
    }
    for (PictureBox* box : {picSWR, grphSWRDisplay, picRes, picFreq})
        box->setFocusPolicy(Qt::NoFocus);
    btnCollectDisplayData->setFocus();
}

void frmMain::ConnectHandlers() {
    connect(mnuFilePrint, &QAction::triggered, this, &frmMain::mnuFilePrint_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmMain::mnuAbout_Click);
    connect(mnuAboutKestrel, &QAction::triggered, this, &frmMain::mnuAboutKestrel_Click);
    connect(btnExit, &QPushButton::clicked, this, &frmMain::btnExit_Click);
    connect(btnCollectDisplayData, &QPushButton::clicked, this,
            &frmMain::btnCollectDisplayData_Click);
    connect(btnStopCollectData, &QPushButton::clicked, this, &frmMain::btnStopCollectData_Click);
    connect(cmboCommPort, &ComboBox::Click, this, &frmMain::cmboCommPort_Click);
    connect(cntlComm, &CommControl::OnComm, this, &frmMain::cntlComm_OnComm);
    connect(MnComboFScale, &ComboBox::Click, this, &frmMain::MnComboFScale_Click);
    connect(MnComboFScale, &ComboBox::KeyPress, this, &frmMain::MnComboFScale_KeyPress);
    connect(MnComboDisplay, &ComboBox::Click, this, &frmMain::MnComboDisplay_Click);
    connect(MnComboDisplay, &ComboBox::KeyPress, this, &frmMain::MnComboDisplay_KeyPress);
    for (std::size_t i = 0; i < OptCursor.size(); ++i) {
        // Selected by the user or by the program, as a classic option button.
        connect(OptCursor[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked) OptCursor_Click(std::int16_t(i));
        });
    }
    connect(grphSWRDisplay, &PictureBox::MouseMove, this,
            [this](int button, int shift, float x, float y) {
                grphSWRDisplay_MouseMove(std::int16_t(button), std::int16_t(shift), x, y);
            });
}

void frmMain::closeEvent(QCloseEvent* event) {
    std::int16_t Cancel = 0;
    Form_Unload(Cancel);
    event->setAccepted(Cancel == 0);
}
