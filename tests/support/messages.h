// Collects the messages a test provokes instead of showing boxes.
#pragma once

#include <QStringList>

#include "common/message.h"

class MessageCatcher {
public:
    MessageCatcher()
    {
        SetMessageHook([this](const QString& title, const QString& text) {
            titles << title;
            texts << text;
        });
    }
    ~MessageCatcher() { SetMessageHook({}); }
    MessageCatcher(const MessageCatcher&) = delete;
    MessageCatcher& operator=(const MessageCatcher&) = delete;

    QStringList titles;
    QStringList texts;
};
