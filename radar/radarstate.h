#pragma once

// What the radar client reports about the radar and its commands, for the code that shows
// it: the radar state of radarStateChanged, the command states of radarCommandStateChanged
// and the error codes of the client's own making. The radar's own error codes (1 to 254)
// come from its acknowledgements.
namespace Radar {

enum State {
    WrongProtocol = -1, // frames the selected protocol variant does not know
    Offline = 0,
    Busy = 1, // frames arrive, but the measurement cycle does not advance
    Working = 2,
};

enum CommandState {
    Discarded = 0, // removed from the queue unsent
    Queued = 1,
    InProgress = 2, // sent and waiting, also while a failed command is retried
    Received = 3, // positively acknowledged
    Error = 4, // attempts used up
};

enum CommandError {
    NotConnected = -3, // no link when the command was due
    NoAcknowledgement = -7, // none within the command time-out
    WrongServerResponse = -11, // a server text message without "command" or "result"
    DiscardedUnsent = 255, // reported with Discarded
};

constexpr bool isOnline(int state)
{
    return state == Busy || state == Working;
}

constexpr bool isWorking(int state)
{
    return state == Working;
}

} // namespace Radar
