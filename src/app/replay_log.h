#pragma once
// The lines the program logs while a script runs, for "wait-log": each still goes where it went.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <mutex>

namespace kestrova::replay {

class LogRecorder {
  public:
    LogRecorder() {
        std::lock_guard lock(mutex_);
        previous_ = qInstallMessageHandler(&LogRecorder::Record);
    }
    ~LogRecorder() {
        std::lock_guard lock(mutex_);
        qInstallMessageHandler(previous_);
        previous_ = nullptr;
        lines_.clear();
    }
    LogRecorder(const LogRecorder&) = delete;
    LogRecorder& operator=(const LogRecorder&) = delete;

    // Takes the first line logged so far that holds `text`, so that one line answers one wait.
    static bool Take(const QString& text) {
        std::lock_guard lock(mutex_);
        for (auto it = lines_.begin(); it != lines_.end(); ++it) {
            if (it->contains(text)) {
                lines_.erase(it);
                return true;
            }
        }
        return false;
    }

  private:
    // The browser engine may log from threads of its own.
    static void Record(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        QtMessageHandler previous = nullptr;
        {
            std::lock_guard lock(mutex_);
            lines_.append(message);
            previous = previous_;
        }
        if (previous) {
            previous(type, context, message);
        }
    }

    static inline std::mutex mutex_;
    static inline QStringList lines_;
    static inline QtMessageHandler previous_ = nullptr;
};

} // namespace kestrova::replay
