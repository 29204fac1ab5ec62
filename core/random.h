#pragma once

#include <QTime>

#include <array>
#include <cstdint>
#include <optional>

namespace quillory {

class Dialogs;

/**
 * The program's one uniform random sequence (xoshiro256**, seeded through splitmix64). It is seeded
 * once at start-up; the generator draws from it and never seeds it.
 */
class RandomSource {
public:
    explicit RandomSource(std::uint64_t seed = 0) { reseed(seed); }

    /** A sequence that starts from the given state words (not all zero), as the reference generator does. */
    static RandomSource fromState(const std::array<std::uint64_t, 4>& state) {
        RandomSource random;
        random.m_state = state;
        return random;
    }

    /** Starts the sequence anew: the state words are the first four outputs of splitmix64 started at `seed`. */
    void reseed(std::uint64_t seed) { reseed(seed, 0); }

    /**
     * The second sequence of a seed, independent of the first: its state words are the fifth to the
     * eighth outputs of the same splitmix64. quillory-cli draws the people behind the names from it.
     */
    static RandomSource second(std::uint64_t seed) {
        RandomSource random;
        random.reseed(seed, 4);
        return random;
    }

    /** The third sequence of a seed: the ninth to the twelfth outputs. The people's places are drawn from it. */
    static RandomSource third(std::uint64_t seed) {
        RandomSource random;
        random.reseed(seed, 8);
        return random;
    }

    /** The next 64 random bits. */
    std::uint64_t nextBits() {
        const std::uint64_t result = rotl(m_state[1] * 5, 7) * 9;
        const std::uint64_t t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = rotl(m_state[3], 45);
        return result;
    }

    /** The next fraction r, 0 <= r < 1, with 53 random bits. */
    double next() { return static_cast<double>(nextBits() >> 11) * 0x1.0p-53; }

private:
    void reseed(std::uint64_t seed, int skip);
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::array<std::uint64_t, 4> m_state{};
};

/** Maps a fraction 0 <= r < 1 to a whole number: the whole part of r × n, plus 1 (1 for n = 0). */
inline int RandomInteger(double r, int n) {
    const int value = static_cast<int>(r * n) + 1;
    return (n >= 1 && value > n) ? n : value;
}

/** A random whole number from 1 to n drawn from the sequence (1 when n is 0). */
inline int RandomInteger(RandomSource& random, int n) {
    return RandomInteger(random.next(), n);
}

/** The seed for a time of day: the seconds since midnight, with their fraction, in single precision. */
std::uint64_t seedForTimeOfDay(QTime timeOfDay);

/**
 * Seeds the sequence from the time of day, then draws a number from 1 to 100; at 7 (about one start in a
 * hundred) it opens the maker's home page. Returns the number drawn.
 */
int SeedRandom(RandomSource& random, QTime timeOfDay, Dialogs& dialogs);

/** 64 bits of the system's randomness, for a seed nobody chose. */
std::uint64_t systemSeed();

/** A seed as typed: plain digits, 0 to 2^64 − 1; nothing otherwise. */
std::optional<std::uint64_t> seedFromText(const QString& text);

} // namespace quillory
