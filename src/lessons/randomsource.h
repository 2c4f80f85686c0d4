#pragma once

#include <cstdint>
#include <random>

// The program's one pseudo-random generator, seeded once at start. Classes
// that draw from it are given it, so tests can fix the sequence.
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

    void seed(std::uint32_t value) { m_engine.seed(value); }
    std::uint32_t next() override { return static_cast<std::uint32_t>(m_engine() >> 1); }

private:
    std::mt19937 m_engine;
};
