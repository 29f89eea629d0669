#include "latchlog.h"

void LatchLog::Append(const QString& record)
{
    records_.push_back(record);
    if (records_.size() > static_cast<size_t>(kCapacity)) {
        records_.pop_front();
        ++dropped_;
    }
}

void LatchLog::Clear()
{
    records_.clear();
    dropped_ = 0;
}

QString LatchLog::Header() const
{
    return dropped_ == 0 ? QString() : QStringLiteral("（已删去较早的 %1 条记录）").arg(dropped_);
}

QString LatchLog::Text() const
{
    static const QString kLineEnd = QStringLiteral("\r\n");
    QString text;
    if (dropped_ > 0)
        text += Header() + kLineEnd;
    for (const QString& record : records_)
        text += record + kLineEnd;
    return text;
}
