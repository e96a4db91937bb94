// fsync of a file in the browser's storage waits for IndexedDB. Emscripten's
// own version loses a refusal (it hands the error to the code as a function,
// which becomes 0): this one returns EIO, so a save that the storage refuses
// fails as a save to a full disk does.
mergeInto(LibraryManager.library, {
  fd_sync__sig: 'ii',
  fd_sync: function (fd) {
    var stream = SYSCALLS.getStreamFromFD(fd);
    return Asyncify.handleSleep(function (wakeUp) {
      var mount = stream.node.mount;
      if (!mount.type.syncfs) {
        wakeUp(0);
        return;
      }
      mount.type.syncfs(mount, false, function (err) {
        wakeUp(err ? 29 /* EIO */ : 0);
      });
    });
  },
});
