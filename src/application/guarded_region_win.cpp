// The guarded region: a call whose stack frame carries the crash handler as
// its structured exception handler, so that an exception nothing else
// handled is reported before the system's default handling would end the
// program silently. gcc has no __try/__except, so the frame is set up by
// hand: table-based on x86-64, a registration record on x86.
#include <windows.h>

#include "application/crash_handler.h"

extern "C" EXCEPTION_DISPOSITION VornGuardedRegionHandler(EXCEPTION_RECORD* record, void* frame,
                                                          CONTEXT* context, void* dispatcher);

#if defined(__x86_64__)

extern "C" vorn::Result VornGuardedCall(vorn::ThreadBody body, void* context);

// The handler is registered with @except only: it sees the search phase of
// the dispatch, never an unwind, and it does not return once it has reported.
asm(R"(
  .text
  .p2align 4
  .globl VornGuardedCall
  .def VornGuardedCall; .scl 2; .type 32; .endef
  .seh_proc VornGuardedCall
VornGuardedCall:
  subq $40, %rsp
  .seh_stackalloc 40
  .seh_endprologue
  movq %rcx, %rax
  movq %rdx, %rcx
  callq *%rax
  nop
  addq $40, %rsp
  ret
  .seh_handler VornGuardedRegionHandler, @except
  .seh_endproc
)");

#elif defined(__i386__)

namespace {

struct GuardRegistration {
  GuardRegistration* next;
  void* handler;
};

}  // namespace

extern "C" __attribute__((noinline)) vorn::Result VornGuardedCall(vorn::ThreadBody body,
                                                                  void* context) {
  GuardRegistration registration;
  registration.handler = reinterpret_cast<void*>(&VornGuardedRegionHandler);
  asm volatile("movl %%fs:0, %0" : "=r"(registration.next));
  asm volatile("movl %0, %%fs:0" : : "r"(&registration) : "memory");
  const vorn::Result result = body(context);
  asm volatile("movl %0, %%fs:0" : : "r"(registration.next) : "memory");
  return result;
}

#else
#error "guarded regions are written for x86 and x86-64"
#endif

namespace vorn {

Result CrashHandler::RunGuarded(ThreadBody body, void* context) noexcept {
  if (body == nullptr) return kInvalidArgument;
  return VornGuardedCall(body, context);
}

}  // namespace vorn
