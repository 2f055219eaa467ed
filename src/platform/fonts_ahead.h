#pragma once
// The fonts made ready while the program starts. Reading the system's font configuration is the
// largest single piece of work before the first frame, and the toolkit does it on the first text
// it lays out; here it is done on a thread of its own from the first moment, while the toolkit
// starts. Once told the application exists the same thread registers the bundled faces; the
// desktop tells it once the first frame is out, which lays out no text, so the registering does not
// take a core from the pictures that frame waits for. Whatever the thread has not done when the
// program needs it is done where it is needed, once: the first text drawn always finds every
// bundled face registered.

#include <condition_variable>
#include <mutex>
#include <thread>

namespace kestrova {

// Reads the system's font configuration for the whole process, once; a caller that comes while
// another thread reads it waits for that reading. Nothing where the toolkit uses no font
// configuration library.
void ReadSystemFontConfiguration();

class FontsAhead {
  public:
    // Starts reading the font configuration.
    FontsAhead();
    // Waits for the thread; the bundled faces are left alone if the application never started.
    // Must run before the application object goes.
    ~FontsAhead();
    FontsAhead(const FontsAhead&) = delete;
    FontsAhead& operator=(const FontsAhead&) = delete;

    // The application exists: the bundled faces may be registered from now on.
    void ApplicationStarted();

  private:
    enum class Go { Wait, Register, Stop };
    std::mutex mutex_;
    std::condition_variable changed_;
    Go go_ = Go::Wait;
    std::thread thread_;
};

} // namespace kestrova
