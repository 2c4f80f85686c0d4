#pragma once

#include <chrono>
#include <cstdint>

// A millisecond clock counting from program start. Lessons are given one, so
// tests can step time by hand.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::uint32_t now() const = 0;
};

class SteadyClock final : public Clock
{
public:
    std::uint32_t now() const override
    {
        const auto elapsed = std::chrono::steady_clock::now() - start();
        return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    }

    // The program's one clock.
    static SteadyClock &instance()
    {
        static SteadyClock clock;
        return clock;
    }

private:
    static std::chrono::steady_clock::time_point start()
    {
        static const auto programStart = std::chrono::steady_clock::now();
        return programStart;
    }
};

// A clock that only moves when told to.
class ManualClock final : public Clock
{
public:
    std::uint32_t now() const override { return m_now; }
    void set(std::uint32_t ms) { m_now = ms; }
    void advance(std::uint32_t ms) { m_now += ms; }

private:
    std::uint32_t m_now = 0;
};
