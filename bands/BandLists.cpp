#include <QPushButton>

#include "app/frmMain.h"
#include "bands/BandTable.h"
#include "platform/runtime/NumberRules.h"
#include "platform/widgets/ComboBox.h"

void frmMain::InitLists() {
    btnCollectDisplayData->setEnabled(true);
    // Every trace together, then each on its own.
    MnComboDisplay->AddItem(QStringLiteral("ALL"));
    for (const QuantityInfo& quantity : kQuantities)
        MnComboDisplay->AddItem(QString::fromLatin1(quantity.caption));
    MnComboDisplay->SetListIndex(0);
    for (std::size_t i = 0; i < BandTable.size(); ++i) {
        Band_Name[i] = QString::fromLatin1(BandTable[i].name);
        Band_Start[i] = QString::fromLatin1(BandTable[i].start);
        Band_End[i] = QString::fromLatin1(BandTable[i].end);
    }
    for (const QString& name : Band_Name) MnComboFScale->AddItem(name);
    MnComboFScale->SetListIndex(0);
}

void frmMain::MnComboFScale_Click() {
    SetRangeFromBand();
    DrawGraphFrame();
}

void frmMain::SetRangeFromBand() {
    const auto i = std::size_t(MnComboFScale->ListIndex());
    Scan_Start = NumberRules::leadingNumber(Band_Start[i]);
    Scan_End = NumberRules::leadingNumber(Band_End[i]);
}

// Neither list takes typed text: only its rows can be chosen.
void frmMain::MnComboFScale_KeyPress(std::int16_t& KeyAscii) { KeyAscii = 0; }

void frmMain::MnComboDisplay_KeyPress(std::int16_t& KeyAscii) { KeyAscii = 0; }
