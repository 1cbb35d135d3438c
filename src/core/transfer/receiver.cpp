#include "transfer/receiver.h"

#include <algorithm>

namespace zorv::transfer {

Receiver::Receiver(std::int64_t nowMs)
    : m_lastByteMs(nowMs)
    , m_lastBlinkMs(nowMs)
{
}

void Receiver::poll(SerialLink &link, std::int64_t nowMs)
{
    if (!m_done) {
        checkSilence(nowMs);
        while (!m_done && link.pending())
            receive(link.readByte(), nowMs);
    }
    // Read on every pass, not only after a byte: a cable pulled while the computer is
    // silent must show as well.
    m_portStatus = link.status();
}

void Receiver::receive(std::uint8_t byte, std::int64_t nowMs)
{
    if (m_done)
        return;
    // A caller that feeds bytes without ticking still sees the silence before this byte.
    checkSilence(nowMs);
    m_lastByteMs = nowMs;
    if (m_counted >= kFinishCount) {
        finish();
        return;
    }
    if (byte == kSyncByte && !m_running) {
        m_running = true;
        m_transmissionFailed = false;
    }
    // The sync byte itself counts as a byte while running: a computer that sends no zero
    // bytes first would otherwise look disconnected and lose its capture on the next pass.
    if (m_running || byte == 0)
        m_connected = true;
    if (m_running) {
        if (m_stored < kBufferSize)
            m_buffer[static_cast<std::size_t>(m_stored++)] = byte;
        ++m_counted;
    }
}

void Receiver::tick(std::int64_t nowMs)
{
    if (!m_done) {
        checkSilence(nowMs);
        const std::int64_t quiet = nowMs - m_lastByteMs;
        if (quiet >= kConnectionTimeoutMs) {
            // A computer that stops right after its image never sends the byte that would
            // end the capture; what it sent is whole, so take it instead of waiting for the
            // silence that would throw it away.
            if (m_running && m_counted >= kImageSize)
                finish();
            else if (!m_running)
                m_connected = false;
        }
    }
    if (!m_connected && nowMs - m_lastBlinkMs >= kBlinkPeriodMs) {
        m_blink = !m_blink;
        m_lastBlinkMs = nowMs;
    }
}

void Receiver::useImage(std::span<const std::uint8_t> image)
{
    const std::size_t n = std::min(image.size(), static_cast<std::size_t>(kImageSize));
    std::fill(m_buffer.begin(), m_buffer.end(), std::uint8_t { 0 });
    std::copy_n(image.begin(), n, m_buffer.begin());
    m_stored = kImageSize;
    m_counted = kImageSize;
    m_running = false;
    m_done = true;
}

Receiver::State Receiver::state() const
{
    if (m_done)
        return State::Done;
    if (m_running)
        return State::Running;
    return m_connected ? State::Connected : State::Waiting;
}

std::span<const std::uint8_t> Receiver::image() const
{
    if (!m_done)
        return {};
    return { m_buffer.data(), static_cast<std::size_t>(kImageSize) };
}

// Measured on a monotonic clock: a wall clock that steps (midnight, summer time, a time
// server) would abort a sound capture or let a dead one linger.
void Receiver::checkSilence(std::int64_t nowMs)
{
    if (nowMs - m_lastByteMs <= kGapLimitMs)
        return;
    m_connected = false;
    if (!m_running)
        return;
    if (m_counted >= kImageSize)
        finish();
    else
        abort();
}

void Receiver::finish()
{
    m_done = true;
    m_running = false;
}

void Receiver::abort()
{
    m_running = false;
    m_counted = 0;
    m_stored = 0;
    m_transmissionFailed = true;
}

bool startLink(SerialLink &link, int portIndex, Receiver &receiver)
{
    link.open(portIndex);
    receiver.setPortStatus(link.status());
    if (receiver.portError())
        return false;
    link.setLine(LineSettings {});
    receiver.setPortStatus(link.status());
    return true;
}

} // namespace zorv::transfer
