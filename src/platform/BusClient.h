// The sending end of the bus: synchronous sends with a time-out, posts, and sends to many.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/BusFolder.h"
#include "platform/BusMessage.h"

namespace vorn {

// Time-outs for sends. A query answers at once; a save may wait for the user.
constexpr int kBusQueryTimeoutMs = 1000;
constexpr int kBusActionTimeoutMs = 10000;

// Sends a request and waits at most timeoutMs for the answer. A peer that is gone (its
// files are swept), hung, or killed part-way answers with the sender's own status; the
// sender never waits longer than the time-out.
TBusReply SendBusMessage(const TBusFolder& folder, std::int64_t target, TBusRequest request,
                         int timeoutMs = kBusQueryTimeoutMs);

// The same request to several peers at once, all answers awaited together under one
// deadline, so a hung peer costs the time-out once, not once per peer. Answers are in the
// order of targets.
std::vector<TBusReply> SendBusMessageToAll(const TBusFolder& folder, const std::vector<std::int64_t>& targets,
                                           TBusRequest request, int timeoutMs = kBusQueryTimeoutMs);

// Delivers without waiting for the handling. False when nobody listens at target or the
// frame could not be handed over (posts to a vanished window are lost, as the caller expects).
// Posts from one sender to one window are handled in the order posted.
bool PostBusMessage(const TBusFolder& folder, std::int64_t target, TBusRequest request);

}  // namespace vorn
