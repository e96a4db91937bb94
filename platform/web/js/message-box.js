// Message boxes: modal boxes over everything, the topmost alone taking keys.
// The program's answer comes as an event (the program makes it IDOK, IDYES
// or IDNO: platform/MessageBox.h); the page's own questions pass `onAnswer`.
Object.assign(qvPage, {
  // A question (Yes/No) shows the question mark unless `question` says otherwise.
  messageBox(text, yesNo, onAnswer, question = yesNo) {
    const IDOK = 1, IDYES = 6, IDNO = 7;
    const overlay = document.createElement('div');
    overlay.className = 'qv-modal';
    const box = document.createElement('div');
    box.className = 'qv-dialog qv-messagebox';
    box.setAttribute('role', 'alertdialog');
    box.setAttribute('aria-label', 'Quorvane');
    const bar = document.createElement('div');
    bar.className = 'qv-caption';
    bar.textContent = 'Quorvane';
    const body = document.createElement('div');
    body.className = 'qv-message';
    if (question) {
      const mark = document.createElement('div');
      mark.className = 'qv-icon-question';
      mark.setAttribute('role', 'img');
      mark.setAttribute('aria-label', 'Domanda');
      body.appendChild(mark);
    }
    body.appendChild(document.createElement('div')).textContent = text;
    const buttons = document.createElement('div');
    buttons.className = 'qv-buttons';
    const answers = yesNo ? [['S\u00EC', IDYES], ['No', IDNO]] : [['OK', IDOK]];
    const escape = yesNo ? IDNO : IDOK;
    const focusBefore = document.activeElement;
    const me = {overlay};
    let done = false;
    const finish = (a) => {
      if (done) return;
      done = true;
      overlay.remove();
      qvBoxes.splice(qvBoxes.indexOf(me), 1);
      qvUpdateInert();
      if (focusBefore && focusBefore.focus) focusBefore.focus();
      if (onAnswer) onAnswer(a);
      else qvPost(0, 5, a, 0);
    };
    for (const answer of answers) {
      const b = document.createElement('button');
      b.textContent = answer[0];
      b.addEventListener('click', () => finish(answer[1]));
      buttons.appendChild(b);
    }
    // ESC answers as the desktop's box does; Enter presses the focused
    // button, or the first when none of the box's has the focus.
    me.key = (ev) => {
      if (ev.key === 'Escape' || ev.code === 'Escape') {
        ev.preventDefault();
        finish(escape);
      } else if (ev.key === 'Enter' && !(ev.target.tagName === 'BUTTON' && buttons.contains(ev.target))) {
        ev.preventDefault();
        finish(answers[0][1]);
      } else if (ev.key === 'Tab') {
        qvCycleFocus(buttons, ev);
      }
    };
    box.append(bar, body, buttons);
    overlay.appendChild(box);
    document.body.appendChild(overlay);
    qvBoxes.push(me);
    qvUpdateInert();
    buttons.firstChild.focus();
  },
});
