#include <gtest/gtest.h>

#include <vector>

#include "presence.h"

namespace {

using namespace system_value;

// One thing the system says, and whether the renderer draws after it.
struct Event {
  enum Kind { Display, Monitor, Session, Minimise, Restore, Area } kind;
  long value;
  bool draws;
};

void Apply(Presence &p, const Event &e) {
  switch (e.kind) {
    case Event::Display: p.display.Setting(static_cast<unsigned long>(e.value)); break;
    case Event::Monitor: p.display.MonitorPower(e.value); break;
    case Event::Session: p.SessionChange(static_cast<unsigned>(e.value)); break;
    case Event::Minimise: p.Size(0, 0, true); break;
    case Event::Restore: p.Size(640, 480, false); break;
    case Event::Area: p.Size(static_cast<int>(e.value), 480, false); break;
  }
}

TEST(Presence, DrawsOnlyWhileSomebodyCanSeeTheWindow) {
  // Under `registered` the window hears the display-state setting; the
  // monitor-power command then says nothing about the display.
  struct Case {
    const char *name;
    std::vector<Event> events;
    bool registered = true;
  };
  const Case cases[] = {
      {"display off then on", {{Event::Display, kDisplayOff, false}, {Event::Display, kDisplayOn, true}}},
      {"dimmed still draws", {{Event::Display, kDisplayDimmed, true}}},
      {"dimmed after off draws", {{Event::Display, kDisplayOff, false}, {Event::Display, kDisplayDimmed, true}}},
      {"lock during off",
       {{Event::Display, kDisplayOff, false},
        {Event::Session, kSessionLock, false},
        {Event::Display, kDisplayOn, false},
        {Event::Session, kSessionUnlock, true}}},
      {"unlock while off",
       {{Event::Session, kSessionLock, false},
        {Event::Display, kDisplayOff, false},
        {Event::Session, kSessionUnlock, false},
        {Event::Display, kDisplayOn, true}}},
      {"minimised while locked",
       {{Event::Session, kSessionLock, false},
        {Event::Minimise, 0, false},
        {Event::Session, kSessionUnlock, false},
        {Event::Restore, 0, true}}},
      {"not registered: monitor off, low power, on",
       {{Event::Monitor, kMonitorOff, false}, {Event::Monitor, kMonitorLowPower, true},
        {Event::Monitor, kMonitorOff, false}, {Event::Monitor, kMonitorOn, true}},
       false},
      {"not registered: the setting still counts",
       {{Event::Display, kDisplayOff, false}, {Event::Monitor, kMonitorOn, true}}, false},
      {"registered: a monitor-power command changes nothing",
       {{Event::Monitor, kMonitorOff, true},
        {Event::Display, kDisplayOff, false},
        {Event::Monitor, kMonitorOn, false},
        {Event::Monitor, kMonitorLowPower, false},
        {Event::Display, kDisplayOn, true},
        {Event::Monitor, kMonitorOff, true}}},
      {"console away and back",
       {{Event::Session, kConsoleDisconnect, false}, {Event::Session, kConsoleConnect, true}}},
      {"remote away and back, locked meanwhile",
       {{Event::Session, kRemoteDisconnect, false},
        {Event::Session, kSessionLock, false},
        {Event::Session, kRemoteConnect, false},
        {Event::Session, kSessionUnlock, true}}},
      {"logon and other codes change nothing",
       {{Event::Session, 0x5, true}, {Event::Session, kSessionLock, false}, {Event::Session, 0x6, false}}},
      {"no area", {{Event::Area, 0, false}, {Event::Area, 1, true}}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Presence presence;
    if (c.registered) presence.display.Registered();
    ASSERT_TRUE(presence.ShouldDraw());
    for (std::size_t i = 0; i < c.events.size(); ++i) {
      Apply(presence, c.events[i]);
      EXPECT_EQ(presence.ShouldDraw(), c.events[i].draws) << "after event " << i;
    }
  }
}

}  // namespace
