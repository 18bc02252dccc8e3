// The program's message loop, which the window services hand control to and
// the front end runs.
#pragma once

namespace quellor::win32 {

class EventLoop {
 public:
  EventLoop() = default;
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;
  virtual ~EventLoop() = default;
  [[noreturn]] virtual void Run() = 0;
};

}  // namespace quellor::win32
