#include "motionparameters.h"

#include "common/usertext.h"
#include "settings/numbertext.h"

namespace {

QString Describe(int slot, const char* field, const QString& text)
{
    const QString where = slot < 0 ? QString() : QStringLiteral("第%1轴的").arg(slot);
    const QString quoted = QuoteUserText(Abbreviated(text));
    return IsNumberText(text)
               ? QStringLiteral("%1%2“%3”超出范围，请重新输入！").arg(where, QString::fromUtf8(field), quoted)
               : QStringLiteral("%1%2“%3”不是有效的数字，请重新输入！").arg(where, QString::fromUtf8(field), quoted);
}

// Reads one field after another; a field that fails keeps its old value and
// the first failure is remembered.
class FieldReader {
public:
    bool Int32(int slot, const char* field, const QString& text, int32_t& out)
    {
        if (const auto value = StrictInt32(text)) {
            out = *value;
            return true;
        }
        Fail(Describe(slot, field, text));
        return false;
    }

    bool Double(int slot, const char* field, const QString& text, double& out)
    {
        if (const auto value = StrictNumber(text)) {
            out = *value;
            return true;
        }
        Fail(Describe(slot, field, text));
        return false;
    }

    const std::optional<QString>& Error() const { return error_; }

private:
    void Fail(QString message)
    {
        if (!error_)
            error_ = std::move(message);
    }

    std::optional<QString> error_;
};

} // namespace

ReadResult ReadMotionParameters(const MotionFields& fields, MotionParameterSet& parameters, bool keepReadable)
{
    MotionParameterSet p = parameters;
    FieldReader read;
    ReadResult result;
    const bool arc = fields.mode == MotionFields::Arc;
    for (int t = 0; t < 2; ++t) {
        p.AxisSelected[t] = fields.axisChecked[t] ? 1 : 0;
        read.Int32(t, "初速度", fields.startSpeed[t], p.StartSpeed[t]);
        read.Int32(t, "驱动速度", fields.driveSpeed[t], p.DriveSpeed[t]);
        read.Int32(t, "终点位置", fields.endPosition[t], p.EndPosition[t]);
        result.accelTimeRead[t] = read.Double(t, "总加速时间", fields.accelTime[t], p.AccelTime[t]);
        read.Double(t, "S段时间", fields.sCurveTime[t], p.SCurveTime[t]);
        p.Direction[t] = fields.direction[t] == kPositive ? 0 : 1;
        if (arc) {
            read.Int32(t, "圆弧插补终点", fields.interpEnd[t], p.ArcEndPosition[t]);
            read.Int32(t, "圆心位置", fields.arcCenter[t], p.ArcCenterPosition[t]);
        } else {
            read.Int32(t, "线性插补终点", fields.interpEnd[t], p.LineEndPosition[t]);
        }
    }
    p.MotionMode = static_cast<int16_t>(fields.mode);
    p.PositionMode = fields.relative ? 0 : 1;
    p.StopMode = fields.decelStop ? 0 : 1;
    p.CurveMode = fields.trapezoid ? 0 : 1;
    p.ArcDirection = fields.clockwise ? 0 : 1;
    read.Int32(-1, "插补初速度", fields.interpStartSpeed, p.InterpStartSpeed);
    read.Int32(-1, "插补驱动速度", fields.interpDriveSpeed, p.InterpDriveSpeed);
    read.Double(-1, "插补总加速时间", fields.interpAccelTime, p.InterpAccelTime);
    read.Double(-1, "插补S段时间", fields.interpSCurveTime, p.InterpSCurveTime);
    result.error = read.Error();
    if (!result.error || keepReadable)
        parameters = p;
    return result;
}
