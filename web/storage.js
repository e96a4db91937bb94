// The working folder lives in the browser's storage (IndexedDB), kept between
// visits; the first visit finds the example systems there.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  const dir = '/quorvane';
  FS.mkdir(dir);
  FS.mount(IDBFS, {}, dir);
  addRunDependency('qv-storage');
  FS.syncfs(true, function () {
    if (!FS.analyzePath(dir + '/Quorvane.ini').exists) {
      FS.writeFile(dir + '/Quorvane.ini', FS.readFile('/seed/Quorvane.ini'));
    }
    FS.chdir(dir);
    // The seed is kept at once; the program's own saves write through fsync.
    FS.syncfs(false, function () { removeRunDependency('qv-storage'); });
  });
  if (typeof document !== 'undefined' && document.fonts) {
    // The dialogs are measured in their font: it must be there first.
    addRunDependency('qv-font');
    document.fonts.load('8pt QvDialogFont').finally(function () { removeRunDependency('qv-font'); });
  }
});

