#include <QLabel>
#include <QRadioButton>

#include "Version.h"
#include "app/Globals.h"
#include "app/frmMain.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/PictureBox.h"
#include "settings/CSetting.h"

void frmMain::Form_Load() {
    iMaxValues = 16384;
    for (std::size_t k = 0; k < kQuantities.size(); ++k) ScaleMax[k] = kQuantities[k].fullScale;
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
    SetRangeFromBand();
    RedrawGraph();
}
