#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

#include "app/ScanData.h"
#include "core/Quantities.h"
#include "graph/GraphPainter.h"
#include "platform/runtime/Variant.h"

class ComboBox;
class CommControl;
class PictureBox;
class QAction;
class QPrinter;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The program's one working window. Its handlers and procedures are spread
// over the subsystem folders (link/, bands/, graph/) but share this window's
// controls and variables, through which alone they communicate. Every
// control carries its name as its object name.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    frmMain();
    ~frmMain() override;

    // ---- shared state (zero until Form_Load) ----
    std::int16_t iMaxValues = 0;   // highest point index of Scan_Data
    std::int16_t NumPoints = 0;    // index of the last valid point, -1 for none
    Variant Scan_Start;            // sweep start, units of 100 Hz
    Variant Scan_End;              // sweep end, units of 100 Hz
    bool flgStop = false;          // stop request for the running scan
    double OriginY = 0;            // y of the zero line, twips
    double OriginX = 0;            // left edge of the graph, twips
    double StartYVal = 0;          // the SWR labels count up from this + 1
    std::int16_t graphCursor = 0;  // Scan_Data column the readout shows

    // ---- event handlers ----
    void Form_Load();
    void Form_Unload(std::int16_t& Cancel);
    void mnuFileExit_Click();
    void btnExit_Click();
    void btnCollectDisplayData_Click();
    void btnStopCollectData_Click();
    void cmboCommPort_Click();
    void cntlComm_OnComm();
    void MnComboFScale_Click();
    void MnComboFScale_KeyPress(std::int16_t& KeyAscii);
    void MnComboDisplay_KeyPress(std::int16_t& KeyAscii);
    void MnComboDisplay_Click();
    void OptCursor_Click(std::int16_t Index);
    void grphSWRDisplay_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void mnuFilePrint_Click();
    void mnuAbout_Click();
    void mnuAboutKestrel_Click();

    // Prints the graph page on a printer the print dialog has set up.
    void PrintGraph(QPrinter& printer);
    // What the printed page's title says of the graph shown now.
    QString PrintTitle() const;

    // The measurements, read only.
    const ScanData& ScanPoints() const { return Scan_Data; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void ConnectHandlers();
    void SetTabOrder();

    void FillSampleData();
    void InitPortList();
    void SetUpPolling();
    void InitLists();
    void SetRangeFromBand();
    void DrawGraphFrame();
    void PlotTraces();
    void RedrawGraph();
    GraphAxes Axes() const;
    QString GetLine();
    QString ReadField();  // GetLine, leaving the scan once the reader has failed
    void RestoreScanButtons();
    // Closes the port, shows the routine's failure message, restores the buttons.
    void FailScan(const QString& routineLine, const QString& description);

    // ---- controls ----
    PictureBox* picSWR = nullptr;
    PictureBox* grphSWRDisplay = nullptr;
    PictureBox* picRes = nullptr;
    PictureBox* picFreq = nullptr;
    QGroupBox* FrameGraph = nullptr;
    QGroupBox* FrameDP = nullptr;
    QGroupBox* FrameComm = nullptr;
    std::array<QRadioButton*, kQuantities.size()> OptCursor{};
    QLabel* LblDisplay = nullptr;
    QLabel* LblBand = nullptr;
    ComboBox* MnComboDisplay = nullptr;
    ComboBox* MnComboFScale = nullptr;
    QLabel* LblPoints = nullptr;
    ComboBox* cmboCommPort = nullptr;
    QPushButton* btnCollectDisplayData = nullptr;
    QPushButton* btnStopCollectData = nullptr;
    QPushButton* btnExit = nullptr;
    QLabel* LblVersion = nullptr;
    QLabel* LblCredit = nullptr;
    CommControl* cntlComm = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuAboutKestrel = nullptr;

    bool flgReadFailed = false;  // the line reader failed during this scan
    // How many points the graph's traces run through (0 while it shows the
    // frame alone), for the printed page.
    int m_pointsTraced = 0;
    std::array<double, 4> ScaleMax{};  // full scale: SWR, ohms, ohms, unused
    ScanData Scan_Data;
    std::array<QString, 16> Band_Name;   // band list texts
    std::array<QString, 16> Band_Start;  // six-digit texts, units of 100 Hz
    std::array<QString, 16> Band_End;
    std::unique_ptr<GraphPainter> m_graph;  // draws into the three graph boxes
};
