#pragma once

#include <cstdint>
#include <ctime>
#include <random>

// A source of pseudo-random numbers. Classes that draw from one are given
// it, so tests can fix the sequence; the program itself has one generator
// (StdRandomSource::instance()).
class RandomSource
{
public:
    virtual ~RandomSource() = default;

    // A non-negative 31-bit value.
    virtual std::uint32_t next() = 0;

    // next() modulo n, and 0 when n is 0.
    int random(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
};

class StdRandomSource final : public RandomSource
{
public:
    explicit StdRandomSource(std::uint32_t seed = 1)
        : m_engine(seed)
    { }

    // The program's one generator, seeded from the clock at its first use:
    // each run makes other exercises.
    static StdRandomSource &instance()
    {
        static StdRandomSource source(static_cast<std::uint32_t>(std::time(nullptr)));
        return source;
    }

    void seed(std::uint32_t value) { m_engine.seed(value); }
    std::uint32_t next() override { return static_cast<std::uint32_t>(m_engine() >> 1); }

private:
    std::mt19937 m_engine;
};
