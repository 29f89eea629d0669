#include "sharemeter.h"

#include "common/cputime.h"

ShareMeter::Spent::Spent(ShareMeter& meter) : meter_(meter), start_(ThreadProcessorSeconds()) {}

ShareMeter::Spent::~Spent() { meter_.Add(ThreadProcessorSeconds() - start_); }

bool ShareMeter::Update(double wall)
{
    if (wall - sinceWall_ < every_)
        return false;
    share_ = (busy_ - sinceBusy_) / (wall - sinceWall_);
    sinceWall_ = wall;
    sinceBusy_ = busy_;
    return true;
}
