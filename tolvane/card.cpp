#include "card.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "calls.h"
#include "control.h"
#include "motion.h"

namespace tolvane {
namespace {

int CardsFromEnvironment()
{
    const char* text = std::getenv("TOLVANE_CARDS");
    if (!text || !*text)
        return 1;
    int cards = 0;
    const char* end = text + std::strlen(text);
    auto [stop, ec] = std::from_chars(text, end, cards);
    if (ec != std::errc() || stop != end || cards < 0) {
        std::fprintf(stderr, "tolvane: TOLVANE_CARDS=%s is not a card count; simulating 1 card\n", text);
        return 1;
    }
    if (cards > kMaxCards) {
        std::fprintf(stderr, "tolvane: TOLVANE_CARDS=%s is more than %d cards; simulating %d\n", text, kMaxCards,
                     kMaxCards);
        return kMaxCards;
    }
    return cards;
}

std::optional<Board>& BoardSlot()
{
    static std::optional<Board> board;
    return board;
}

struct Clock {
    bool test = false;
    double testNow = 0;
};

Clock& TheClock()
{
    static Clock clock;
    return clock;
}

// Told whenever the clock jumps: a waiting download looks again.
std::condition_variable_any& ClockMoved()
{
    static std::condition_variable_any moved;
    return moved;
}

} // namespace

Board& TheBoard()
{
    std::optional<Board>& board = BoardSlot();
    if (!board) {
        board.emplace();
        board->cards.resize(static_cast<size_t>(CardsFromEnvironment()));
    }
    return *board;
}

double Now()
{
    const Clock& clock = TheClock();
    if (clock.test)
        return clock.testNow;
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void WaitUntil(double deadline)
{
    using namespace std::chrono;
    // Short naps on the monotonic clock keep a switch to the test clock
    // meanwhile from leaving the wait asleep for the rest of the time.
    constexpr duration<double> kNap = milliseconds(50);
    std::unique_lock<std::recursive_mutex>& lock = *HeldCallLock();
    for (double now = Now(); now < deadline; now = Now()) {
        const duration<double> nap = TheClock().test ? kNap : std::min(kNap, duration<double>(deadline - now));
        ClockMoved().wait_for(lock, nap);
    }
}

void WaitForRelease(const Download& download)
{
    std::unique_lock<std::recursive_mutex>& lock = *HeldCallLock();
    while (!download.released)
        ClockMoved().wait_for(lock, std::chrono::milliseconds(50));
}

void ReleaseDownload(Card& card)
{
    card.download->released = true;
    ClockMoved().notify_all();
}

Card* FindCard(int16_t card)
{
    Board& board = TheBoard();
    if (card < 0 || static_cast<size_t>(card) >= board.cards.size())
        return nullptr;
    return &board.cards[static_cast<size_t>(card)];
}

Card* CardOfAxis(int16_t axis) { return axis < 0 ? nullptr : FindCard(static_cast<int16_t>(axis / kAxesPerCard)); }

Axis* FindAxis(int16_t axis)
{
    Card* card = CardOfAxis(axis);
    return card ? &card->axes[static_cast<size_t>(IndexOnCard(axis))] : nullptr;
}

namespace control {

void Reset(int cards)
{
    std::lock_guard lock(CallMutex());
    std::optional<Board>& board = BoardSlot();
    if (board)
        for (Card& card : board->cards)
            ReleaseDownload(card);
    board.emplace();
    board->cards.resize(static_cast<size_t>(cards < 0 ? CardsFromEnvironment() : std::min(cards, kMaxCards)));
    ForgetCalls();
    TheClock() = Clock{};
    ClockMoved().notify_all();
}

void UseTestClock(bool on)
{
    std::lock_guard lock(CallMutex());
    Clock& clock = TheClock();
    if (on && !clock.test)
        clock.testNow = Now();
    clock.test = on;
    ClockMoved().notify_all();
}

void AdvanceClock(double seconds)
{
    std::lock_guard lock(CallMutex());
    TheClock().testNow += seconds;
    ClockMoved().notify_all();
}

double PhysicalPosition(int axis)
{
    std::lock_guard lock(CallMutex());
    Card* card = CardOfAxis(static_cast<int16_t>(axis));
    if (!card)
        return 0;
    motion::Advance(*card, Now());
    return card->axes[static_cast<size_t>(IndexOnCard(static_cast<int16_t>(axis)))].physical;
}

// control::Input lists the axis inputs, then the card-wide ones, each in
// the order of its enum in card.h.
static_assert(static_cast<int>(Input::JogMinus) == kJogMinus && static_cast<int>(Input::Alarm) == kAlarm);
static_assert(static_cast<int>(Input::CardSlowDown) == int{kAxisInputs} + kCardSlowDown &&
              static_cast<int>(Input::Emergency) == int{kAxisInputs} + kEmergency);

void SetInput(int number, Input input, bool high)
{
    std::lock_guard lock(CallMutex());
    const auto n = static_cast<int16_t>(number);
    const auto which = static_cast<int>(input);
    if (which < kAxisInputs) {
        if (Card* card = CardOfAxis(n)) {
            motion::Advance(*card, Now());
            card->axes[static_cast<size_t>(IndexOnCard(n))].high[static_cast<size_t>(which)] = high;
        }
    } else if (Card* card = FindCard(n)) {
        motion::Advance(*card, Now());
        card->high[static_cast<size_t>(which - kAxisInputs)] = high;
    }
}

void SetGeneralInputs(int card, int32_t bits)
{
    std::lock_guard lock(CallMutex());
    if (Card* c = FindCard(static_cast<int16_t>(card)))
        c->forcedInputs = bits;
}

} // namespace control
} // namespace tolvane
