#pragma once

#include <cstdint>
#include <string>

namespace lumivert {

// The line settings of a serial port, by the names the port component publishes them under.
// Each enumeration keeps its ordinal values: `DtrEnable` and `RtsEnable` are 0.
enum class TParity : std::uint8_t { None, Odd, Even, Mark, Space };
enum class TStopBits : std::uint8_t { _1, _1_5, _2 };
enum class TByteSize : std::uint8_t { _5, _6, _7, _8 };
enum class TDtrControl : std::uint8_t { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl : std::uint8_t {
    RtsEnable,
    RtsDisable,
    RtsHandshake,
    RtsTransmissionAvailable
};

// The 26 line and timeout properties of a port component, with the values a fresh component
// takes. Timeouts are in milliseconds; the multipliers in milliseconds per byte.
//
// Some have no counterpart on this platform's terminals and are only kept (see
// line_settings.h): DSR flow and sensitivity, continuing after XOFF, the XON/XOFF limits,
// replacing bytes with parity errors, dropping zero bytes, DTR handshake and RTS toggling.
// The write timeouts need no timer of their own (see write_thread.h).
struct CommSettings {
    std::string CommName = "COM2";
    std::uint32_t BaudRate = 9600;
    bool ParityCheck = false;
    bool Outx_CtsFlow = false;
    bool Outx_DsrFlow = false;
    TDtrControl DtrControl = TDtrControl::DtrEnable;
    bool DsrSensitivity = false;
    bool TxContinueOnXoff = true;
    bool Outx_XonXoffFlow = true;
    bool Inx_XonXoffFlow = true;
    bool ReplaceWhenParityError = false;
    bool IgnoreNullChar = false;
    TRtsControl RtsControl = TRtsControl::RtsEnable;
    std::uint16_t XonLimit = 500;
    std::uint16_t XoffLimit = 500;
    TByteSize ByteSize = TByteSize::_8;
    TParity Parity = TParity::None;
    TStopBits StopBits = TStopBits::_1;
    char XonChar = 17;
    char XoffChar = 19;
    char ReplacedChar = 0;
    std::uint32_t ReadIntervalTimeout = 100;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;

    // The values of the main window's port (and of the command line's) before its start-up
    // picks the port and the speed: no XON/XOFF flow in either direction, 2 ms per byte to write.
    static CommSettings mainWindow() {
        CommSettings settings;
        settings.Outx_XonXoffFlow = false;
        settings.Inx_XonXoffFlow = false;
        settings.WriteTotalTimeoutMultiplier = 2;
        return settings;
    }
};

} // namespace lumivert
