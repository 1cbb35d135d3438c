#include "serial/computersimulator.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace zorv::serial {

namespace {

    bool writeAll(QIODevice &device, const std::uint8_t *data, std::size_t size)
    {
        if (size == 0)
            return true;
        const auto written = device.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
        if (written != static_cast<qint64>(size))
            return false;
        // A serial port queues what it is given and needs this to hand it to the driver.
        while (device.bytesToWrite() > 0)
            if (!device.waitForBytesWritten(2000))
                return false;
        return true;
    }

} // namespace

bool sendAsComputer(QIODevice &device, std::span<const std::uint8_t> image, const SimulatorOptions &options)
{
    using Clock = std::chrono::steady_clock;
    std::vector<std::uint8_t> stream(static_cast<std::size_t>(std::max(options.leadingZeros, 0)), 0);
    stream.insert(stream.end(), image.begin(), image.end());
    const bool pausing
        = options.pauseAfter >= 0 && options.pauseMs > 0 && static_cast<std::size_t>(options.pauseAfter) < image.size();
    const std::size_t pauseAt
        = stream.size() - image.size() + static_cast<std::size_t>(std::max(options.pauseAfter, 0));
    const double bytesPerSecond = std::max(options.baudRate, 1) / 10.0;

    Clock::time_point start = Clock::now();
    std::size_t sent = 0;
    bool paused = false;
    while (sent < stream.size()) {
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        std::size_t due = std::min(stream.size(), static_cast<std::size_t>(elapsed * bytesPerSecond) + 1);
        if (pausing && !paused)
            due = std::min(due, pauseAt);
        if (due > sent) {
            if (!writeAll(device, stream.data() + sent, due - sent))
                return false;
            sent = due;
        }
        if (pausing && !paused && sent == pauseAt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(options.pauseMs));
            start += std::chrono::milliseconds(options.pauseMs);
            paused = true;
            continue;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace zorv::serial
