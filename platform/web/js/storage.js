// The working folder /quorvane is kept in the browser's storage (IndexedDB,
// in the layout of emscripten's IDBFS, which earlier versions of the page
// used): its file is read once before the program starts, and each save
// replaces it in one transaction, which first checks that the stored file is
// still the one this page read or wrote. The first visit finds the example
// systems. One tab or window of a browser at a time runs the program.
Module.qvStorage = (function () {
  const dir = '/quorvane', file = dir + '/Quorvane.ini', seed = '/seed/Quorvane.ini';
  const DB_VERSION = 21, STORE = 'FILE_DATA', LOCK = 'Quorvane';
  const ELSEWHERE = 'un\'altra scheda o finestra di Quorvane lo ha cambiato nel frattempo';
  let db = null;            // null: the browser keeps nothing for the page
  const known = new Map();  // path -> time stamp of the stored version this page has (0: none)
  let stopped = false;

  function openDb() {
    return new Promise((resolve, reject) => {
      const req = indexedDB.open(dir, DB_VERSION);  // throws where the browser refuses storage
      req.onupgradeneeded = () => {
        const s = req.result.objectStoreNames.contains(STORE) ? req.transaction.objectStore(STORE)
          : req.result.createObjectStore(STORE);
        if (!s.indexNames.contains('timestamp')) s.createIndex('timestamp', 'timestamp', { unique: false });
      };
      req.onsuccess = () => resolve(req.result);
      req.onerror = () => reject(req.error);
    });
  }

  // One transaction: `work(store, tx)` makes its requests. Resolves once
  // committed, rejects with the error that aborted it.
  function transact(mode, work) {
    return new Promise((resolve, reject) => {
      try {
        const tx = db.transaction([STORE], mode);
        tx.oncomplete = () => resolve();
        tx.onabort = () => reject(tx.error || new DOMException('Annullata', 'AbortError'));
        work(tx.objectStore(STORE), tx);
      } catch (e) {
        reject(e);
      }
    });
  }

  const absolute = (path) => PATH_FS.resolve(path);

  // Puts `bytes` in place of the file: '' once kept, else why not.
  async function replace(path, bytes) {
    path = absolute(path);
    if (stopped) return ELSEWHERE;
    if (db && path.startsWith(dir + '/')) {
      const had = known.get(path) || 0;
      const stamp = new Date(Math.max(Date.now(), had + 1));
      let changed = false, refusal = null;
      try {
        await transact('readwrite', (store, tx) => {
          const old = store.get(path);
          old.onsuccess = () => {
            // Never over a version this page has not read.
            if ((old.result ? old.result.timestamp.getTime() : 0) !== had) {
              changed = true;
              tx.abort();
              return;
            }
            try {
              store.put({ timestamp: stamp, mode: old.result ? old.result.mode : 0o100666, contents: bytes }, path);
              // Temporaries that saves of earlier versions could leave behind.
              const temp = dir + '/.' + path.slice(dir.length + 1) + '.~salvataggio~';
              store.delete(IDBKeyRange.bound(temp, temp + '\uffff'));
            } catch (e) {
              refusal = e;
              try { tx.abort(); } catch (ended) { /* aborted already */ }
            }
          };
        });
      } catch (e) {
        if (changed || stopped) return ELSEWHERE;
        return (refusal || e).name === 'QuotaExceededError' ? 'lo spazio che il browser concede alla pagina è esaurito'
          : 'il browser non lo ha conservato';
      }
      known.set(path, stamp.getTime());
    }
    FS.writeFile(path, bytes);
    return '';
  }

  // Before the program starts: the stored file, or the examples.
  async function load() {
    FS.mkdir(dir);
    let entry;
    try {
      db = await openDb();
      await transact('readonly', (store) => {
        const r = store.get(file);
        r.onsuccess = () => { entry = r.result; };
      });
    } catch (e) {
      db = null;
    }
    if (entry) {
      known.set(file, entry.timestamp.getTime());
      FS.writeFile(file, entry.contents);
    } else if (db) {
      await replace(file, FS.readFile(seed));
      if (!FS.analyzePath(file).exists) FS.writeFile(file, FS.readFile(seed));
    } else {
      FS.writeFile(file, FS.readFile(seed));
      await new Promise((done) => Module.qvPage.messageBox(
        'Questo browser non permette alla pagina di conservare dati: Quorvane funziona, ma i sistemi aggiunti, ' +
        'modificati o eliminati andranno persi alla chiusura della pagina. Si possono tenere scaricandoli con ' +
        '"Salva Quorvane.ini...".\n\nPer conservarli, consentire i cookie e i dati dei siti per questa pagina ' +
        'nelle impostazioni del browser, poi ricaricarla.', 0, done));
    }
    FS.chdir(dir);
  }

  // This tab no longer runs the program: another one has taken over.
  function lost() {
    stopped = true;
    qvStopped('Quorvane è stato aperto in un\'altra scheda o finestra e qui si è fermato. Le modifiche già ' +
      'salvate sono conservate.', 'Usa Quorvane in questa scheda', () => {
      try { sessionStorage.setItem('qv-take-over', '1'); } catch (e) {}
      location.reload();
    });
  }

  // The program starts (`go`) once this tab holds the lock of the browser's
  // copy, kept while the page lives; without the Web Locks API (a page not
  // served over https) only the check of each save guards the file.
  function start(go) {
    const run = () => { load().then(go); return new Promise(() => {}); };
    let asked = false;
    const takeOver = () => navigator.locks.request(LOCK, { steal: true }, run).catch(lost);
    let again = false;
    try { again = sessionStorage.getItem('qv-take-over') === '1'; sessionStorage.removeItem('qv-take-over'); } catch (e) {}
    if (!navigator.locks) return run();
    if (again) return takeOver();
    // A page just reloaded may find its former self still holding the lock
    // for a moment: it asks twice before saying that another tab has it.
    const ask = (last) => navigator.locks.request(LOCK, { ifAvailable: true }, (lock) => {
      if (lock) {
        asked = true;
        return run();
      }
      if (!last) return void setTimeout(() => ask(true), 500);
      asked = true;
      qvStopped('Quorvane è già aperto in un\'altra scheda o finestra. Si usa in una sola alla volta, perché ' +
        'i sistemi salvati sono gli stessi per tutte. Con il pulsante qui sotto Quorvane si ferma nell\'altra e ' +
        'si apre in questa.', 'Usa Quorvane in questa scheda', () => {
        document.getElementById('qv-ended').remove();
        document.body.classList.remove('qv-stopped');
        takeOver();
      });
    }).catch(() => { if (asked) lost(); else run(); });
    ask(false);
  }

  // The count of systems in a file, by the program's own reader.
  function countSystems(path) {
    const n = lengthBytesUTF8(path) + 1, p = _malloc(n);
    stringToUTF8(path, p, n);
    const count = _qv_count_systems(p);
    _free(p);
    return count;
  }

  // A file picked by the user takes the stored one's place, after a question
  // when the stored file has systems; the program then starts again on it,
  // as if started in that folder. A file without systems is refused.
  function openPicked(name, bytes) {
    const picked = '/tmp/' + 'Quorvane-scelto.ini';
    FS.writeFile(picked, bytes);
    const count = countSystems(picked), stored = countSystems(file);
    FS.unlink(picked);
    const say = (text) => Module.qvPage.messageBox(text, 0, () => {});
    if (count <= 0) {
      return say('Il file "' + name + '" non contiene nessun sistema di Quorvane: i sistemi salvati restano ' +
        'come sono.');
    }
    const put = () => replace(file, bytes).then((reason) => {
      if (reason) say('Impossibile salvare il file "Quorvane.ini": ' + reason + '.');
      else location.reload();
    });
    if (stored <= 0) return put();
    const those = count === 1 ? 'un sistema. Sostituire con questo ' : count + ' sistemi. Sostituire con questi ';
    Module.qvPage.messageBox('Il file "' + name + '" contiene ' + those +
      (stored === 1 ? 'il sistema salvato? Il sistema salvato ora andrà perso.' :
        'i ' + stored + ' sistemi salvati? I sistemi salvati ora andranno persi.'), 1,
    (answer) => { if (answer === 6) put(); });
  }

  return { start, replace, openPicked };
})();

Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  addRunDependency('qv-storage');
  Module.qvStorage.start(function () { removeRunDependency('qv-storage'); });
  if (typeof document !== 'undefined' && document.fonts) {
    // The dialogs are measured in their font: it must be there first.
    addRunDependency('qv-font');
    document.fonts.load('8pt QvDialogFont').finally(function () { removeRunDependency('qv-font'); });
  }
});
