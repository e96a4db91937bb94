// The page's side of the program, in the files of this folder: dialogs and
// controls as HTML elements, message boxes, the run's canvas and the clock
// (the browser's storage is storage.js). The C++ code calls them through
// qvPage, which is Module.qvPage (platform/web/Page.cpp), and waits on
// nextEvent() for what the user and the clock did: the queue kept here.
const qvQueue = [];
let qvWaiter = null;

// `kind` is QvPageEventKind (platform/web/Page.h): 1 a command, 2 a key, 3 a
// timer's tick, 4 Enter, 5 a message box's answer.
function qvPost(window, kind, a, b) {
  if (kind === 3 && qvQueue.some((q) => q.kind === kind && q.window === window && q.a === a))
    return;  // ticks not yet taken are not piled up
  qvQueue.push({window, kind, a, b});
  if (qvWaiter) {
    const w = qvWaiter;
    qvWaiter = null;
    w(qvQueue.shift());
  }
}

// The Cancel command of a window (IDCANCEL).
function qvCancel(window) {
  qvPost(window, 1, 2, 0);
}

const qvPage = Module.qvPage = {
  nextEvent() {
    if (qvQueue.length) return Promise.resolve(qvQueue.shift());
    return new Promise((resolve) => { qvWaiter = resolve; });
  },
  programEnded() {
    if (Module.qvOnProgramEnded) Module.qvOnProgramEnded();
  },
};
