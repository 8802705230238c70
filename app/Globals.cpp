#include "app/Globals.h"

#include "settings/CSetting.h"

CSetting& objSetting() {
    static CSetting setting;
    return setting;
}

std::int16_t iCommPort = 0;
