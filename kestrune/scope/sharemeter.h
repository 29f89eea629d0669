// The scope's own share of a core: the processor time of its sampling and
// its drawing (the picture's way to the screen included) over the wall time
// they took, taken anew every few seconds.
#pragma once

class ShareMeter {
public:
    explicit ShareMeter(double everySeconds = 5) : every_(everySeconds) {}

    // Adds the processor time its scope takes on this thread to a meter.
    class Spent {
    public:
        explicit Spent(ShareMeter& meter);
        ~Spent();
        Spent(const Spent&) = delete;
        Spent& operator=(const Spent&) = delete;

    private:
        ShareMeter& meter_;
        double start_;
    };

    void Add(double processorSeconds) { busy_ += processorSeconds; }
    double Busy() const { return busy_; }

    // At `wall` seconds of the scope's clock, takes the share since the last
    // one once `everySeconds` have passed: true when it did.
    bool Update(double wall);
    // Of one core; below 0 until the first share is taken.
    double Share() const { return share_; }

private:
    double every_;
    double busy_ = 0;
    double sinceWall_ = 0; // when the share was last taken
    double sinceBusy_ = 0; // busy_ then
    double share_ = -1;
};
