// What the motion window shows, as plain data: the texts, check boxes and
// option choices that its commands and its settings file read and write.
#pragma once

#include <QString>

#include <array>

struct MotionFields {
    // Motion modes, in the order of their options; Arc is also "none of the
    // others selected".
    enum Mode { Home = 0, Continuous = 1, Fixed = 2, Linear = 3, Arc = 4 };

    std::array<bool, 4> axisChecked{};
    std::array<QString, 4> startSpeed, driveSpeed, endPosition, accelTime, sCurveTime;
    std::array<QString, 4> direction; // the direction box's text; "正" is positive
    std::array<QString, 4> interpEnd, arcCenter;
    int mode = Arc;
    // Two-choice options: true while the first button is selected.
    bool relative = false;  // 相对位移运动 / 绝对位移运动
    bool decelStop = false; // 减速停止 / 立即停止
    bool trapezoid = false; // 梯形曲线加速 / S 形曲线加速
    bool clockwise = false; // 顺时针圆弧 / 逆时针圆弧
    QString interpStartSpeed, interpDriveSpeed, interpAccelTime, interpSCurveTime;
};

// The direction box's text that means positive.
inline const QString kPositive = QStringLiteral("正");
inline const QString kNegative = QStringLiteral("负");
