#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

// A serial operation that could not be done. The number follows the serial
// control's classic error numbers, so callers that compare numbers keep
// working; the description is the full text shown to the user (it names the
// port, the device and the system's reason).
class CommError : public std::runtime_error {
public:
    enum Number : std::int32_t {
        InvalidPropertyValue = 380,
        InvalidPortNumber = 8002,
        PortAlreadyOpen = 8005,
        PortUnavailable = 8010,
        SetCommStateFailed = 8015,
        PortNotOpen = 8018,
        ReadFailed = 8020,
        WriteFailed = 8021,
    };

    CommError(std::int32_t number, const QString& description)
        : std::runtime_error(description.toStdString()),
          m_number(number),
          m_description(description) {}

    std::int32_t number() const { return m_number; }
    const QString& description() const { return m_description; }

private:
    std::int32_t m_number;
    QString m_description;
};
