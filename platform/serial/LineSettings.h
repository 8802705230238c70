#pragma once

#include <QtGlobal>

// What a settings text such as "9600,N,8,1" asks of a serial line.
struct LineSettings {
    enum class Parity { None, Even, Odd, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    qint32 baud = 9600;  // bits per second
    Parity parity = Parity::None;
    int dataBits = 8;  // 5 to 8
    StopBits stopBits = StopBits::One;

    bool operator==(const LineSettings& o) const {
        return baud == o.baud && parity == o.parity && dataBits == o.dataBits &&
               stopBits == o.stopBits;
    }
};
