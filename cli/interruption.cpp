#include "cli/interruption.h"

#include <signal.h>

#include <utility>

namespace wordlap::cli {
namespace {

std::atomic<int> arrived{0};
static_assert(std::atomic<int>::is_always_lock_free,
              "the flag is set from a signal handler");

struct sigaction previous_int, previous_term;

extern "C" void NoteSignal(int signal) {
  int none = 0;
  arrived.compare_exchange_strong(none, signal);
}

}  // namespace

Interruption::Interruption() {
  struct sigaction action {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  // Interrupted writes go on: the output is ended by the command, at a
  // record's end, not in the middle of a write.
  action.sa_flags = SA_RESTART;
  for (const auto& [signal, previous] :
       {std::pair{SIGINT, &previous_int}, std::pair{SIGTERM, &previous_term}}) {
    ::sigaction(signal, nullptr, previous);
    // A signal the caller chose to ignore (a job started in the background)
    // stays ignored.
    if (previous->sa_handler != SIG_IGN) ::sigaction(signal, &action, nullptr);
  }
}

Interruption::~Interruption() {
  ::sigaction(SIGINT, &previous_int, nullptr);
  ::sigaction(SIGTERM, &previous_term, nullptr);
}

const std::atomic<int>& Interruption::Signal() { return arrived; }

int Interruption::EndBySignal() {
  const int signal = arrived.load();
  ::signal(signal, SIG_DFL);
  ::raise(signal);
  return 128 + signal;
}

}  // namespace wordlap::cli
