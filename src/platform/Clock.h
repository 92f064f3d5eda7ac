#pragma once
// The current date and time, injectable so that the dates written into the
// data files are reproducible in tests.

namespace rahmen {

struct DateTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const DateTime& o) const {
        return year == o.year && month == o.month && day == o.day && hour == o.hour &&
               minute == o.minute && second == o.second;
    }
    bool operator!=(const DateTime& o) const { return !(*this == o); }
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};

// The local time of the machine.
class SystemClock : public Clock {
public:
    DateTime now() const override;
};

// A clock that stands still at the time it was given.
class FixedClock : public Clock {
public:
    explicit FixedClock(const DateTime& time = {}) : time_(time) {}
    DateTime now() const override { return time_; }
    void set(const DateTime& time) { time_ = time; }

private:
    DateTime time_;
};

} // namespace rahmen
