#include <QLabel>
#include <QRadioButton>

#include "Version.h"
#include "app/Globals.h"
#include "app/frmMain.h"
#include "platform/ComboBox.h"
#include "platform/NumberRules.h"
#include "platform/PictureBox.h"
#include "settings/CSetting.h"

void frmMain::Form_Load() {
    iMaxValues = 16384;
    ScaleMax[0] = 10;
    ScaleMax[1] = 600;
    ScaleMax[2] = 600;
    NumPoints = 10;
    Scan_Data = ScanData(iMaxValues);
    OriginY = grphSWRDisplay->Height() - 80;
    OriginX = 0;
    StartYVal = 0;
    graphCursor = 0;
    OptCursor[0]->setChecked(true);
    FillSampleData();
    LblVersion->setText(QStringLiteral("v %1.%2.%3")
                            .arg(Version::Major)
                            .arg(Version::Minor)
                            .arg(Version::Revision));
    objSetting().Init(std::nullopt, std::nullopt, 1);
    InitPortList();
    InitLists();
    const auto i = std::size_t(MnComboFScale->ListIndex());
    Scan_Start = NumberRules::leadingNumber(Band_Start[i]);
    Scan_End = NumberRules::leadingNumber(Band_End[i]);
    RedrawGraph();
}
