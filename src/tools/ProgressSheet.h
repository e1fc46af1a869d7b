#pragma once

// A small busy window shown over a document window while a slow tool run
// lasts, provided by the window layer. Both calls arrive on the main thread;
// end() always comes, after begin() when there was one.
class ProgressSheet {
  public:
    virtual ~ProgressSheet() = default;
    virtual void begin() = 0;
    virtual void end() = 0;
};
