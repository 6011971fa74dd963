// One session with the client, from InitializationInfo to the link closing: what the client told
// the program, what the user asked for, and the way to the dialogs. main makes the one Session
// and hands it by reference to the dispatcher, the command processor and the tick; the dialogs
// get it through XDialogs.
#pragma once

#include "core/MessageQueue.h"
#include "core/SessionState.h"
#include "core/SessionView.h"
#include "core/SupportFiles.h"
#include "core/UICommand.h"

#include <cstdint>

class ClientLink;

// Where a "Take All Actions" stands while a confirmation is open. The cursor is the arrival
// number of the request being confirmed, not its ID (IDs repeat) nor its position (the list
// changes while the user reads): the search goes on with the first pending request that arrived
// after it, whether or not that request is still there.
struct TakeAllSequence {
  bool inProgress = false;
  std::uint64_t cursor = 0;
};

class Session {
 public:
  // incoming is drained by the dispatcher; link, when given, is watched for the client closing.
  Session(MessageQueue& incoming, SessionView& view, ClientLink* link = nullptr) noexcept
      : incoming(incoming), view(view), link(link) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  SessionState state;
  UICommandQueue commands;
  MessageQueue& incoming;
  SessionView& view;
  ClientLink* link;
  TakeAllSequence takeAll;
  // The translation files in force, for as long as the session lasts.
  LoadedTranslations translations;
  // The pending list changed in this pass; the view hears it once, at the end of the pass.
  bool requestsChanged = false;
  // The view has heard Started.
  bool started = false;
};
