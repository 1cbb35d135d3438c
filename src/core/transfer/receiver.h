// Turns the bytes a dive computer sends, and the passing of time, into one memory image.
#pragma once

#include "transfer/seriallink.h"

#include <array>
#include <cstdint>
#include <span>

namespace zorv::transfer {

/*
 * The receiver owns no timer and reads no clock: whoever drives it passes a monotonic time
 * in milliseconds to every call. A dialog calls poll() and tick() from its timers with a
 * steady clock; tests pass invented times.
 *
 * Capture: bytes before the first 0x55 are ignored (a 0x00 among them marks the link as
 * connected). From the 0x55 on every byte is counted and the first 3000 are stored. The
 * byte that arrives when 2051 bytes are counted ends the capture and is dropped; the image
 * is the first 2050 stored bytes.
 */
class Receiver {
public:
    static constexpr int kImageSize = 2050;
    static constexpr int kBufferSize = 3000;
    static constexpr int kFinishCount = 2051; // counted bytes after which the next byte finishes
    static constexpr int kProgressMaximum = 2080;
    static constexpr std::uint8_t kSyncByte = 0x55;
    static constexpr std::int64_t kGapLimitMs = 2000;
    static constexpr std::int64_t kConnectionTimeoutMs = 100;
    static constexpr std::int64_t kBlinkPeriodMs = 500;

    enum class State {
        Waiting,
        Connected,
        Running,
        Done,
    };

    explicit Receiver(std::int64_t nowMs = 0);

    // Reads every waiting byte of the link, and its status word.
    void poll(SerialLink &link, std::int64_t nowMs);
    // One byte as it comes off the line.
    void receive(std::uint8_t byte, std::int64_t nowMs);
    // Time-outs that hold without any byte: the silence that aborts a capture, the
    // connection that falls, the blinking of the status while nobody talks.
    void tick(std::int64_t nowMs);
    // Takes an image from elsewhere (a dump file) as if it had been received.
    void useImage(std::span<const std::uint8_t> image);

    State state() const;
    bool connected() const { return m_connected; }
    bool running() const { return m_running; }
    bool done() const { return m_done; }
    bool blink() const { return m_blink; }
    // The last capture died of silence; cleared when the next one starts.
    bool transmissionFailed() const { return m_transmissionFailed; }
    void setPortStatus(std::uint16_t status) { m_portStatus = status; }
    bool portError() const { return m_portStatus != 0; }
    int bytesStored() const { return m_stored; }
    int bytesCounted() const { return m_counted; }
    int progress() const { return m_stored; }
    // The captured image once done(), else empty.
    std::span<const std::uint8_t> image() const;

private:
    void checkSilence(std::int64_t nowMs);
    void finish();
    void abort();

    std::array<std::uint8_t, kBufferSize> m_buffer {};
    int m_stored = 0;
    int m_counted = 0;
    std::int64_t m_lastByteMs = 0;
    std::int64_t m_lastBlinkMs = 0;
    std::uint16_t m_portStatus = 0;
    bool m_connected = false;
    bool m_running = false;
    bool m_done = false;
    bool m_blink = false;
    bool m_transmissionFailed = false;
};

// Opens and sets up the link as the transfer needs it. False when the port is not ready
// after opening; a failure of the line set-up only shows in the receiver's status.
bool startLink(SerialLink &link, int portIndex, Receiver &receiver);

} // namespace zorv::transfer
