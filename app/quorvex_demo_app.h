// The application object: starts sockets, runs the main dialog, ends.
#pragma once

#include <functional>

class CQuorvexDemoApp {
 public:
  CQuorvexDemoApp();
  // Starts sockets, runs the main dialog modally; returns false in every case,
  // so the program ends when it returns.
  bool InitInstance();

  // Socket start-up; replaceable so tests can make it fail.
  std::function<bool()> startSockets;
};

// The one application object, built during static initialisation.
extern CQuorvexDemoApp theApp;
