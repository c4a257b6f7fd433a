// The web host's DOM calls, declared for C++ in page_imports.h. Each control
// of the window is an element of #Form1, found by its row in the layout table.
// The controls' events go straight to the C++ exports (page_exports.cpp);
// nothing here decides anything about what the program does.
mergeInto(LibraryManager.library, {
  $ZvControls: [],

  // A text of known length, decoded in one call. UTF8ToString would first
  // look for a terminating zero byte by byte in script, which for the 1.6 MB
  // of a long schedule costs more than the decoding itself.
  $ZvText__postset: 'ZvText.decoder = new TextDecoder();',
  $ZvText: function(pointer, length) {
    return ZvText.decoder.decode(HEAPU8.subarray(pointer, pointer + length));
  },

  // Where (`node`, `offset`) lies in the text `box` shows, in UTF-16 units
  // from its start; a point before the box is its start, one after it its
  // end.
  $ZvTextOffset: function(box, node, offset) {
    if (!box.contains(node)) {
      const after =
          box.compareDocumentPosition(node) & Node.DOCUMENT_POSITION_FOLLOWING;
      return after ? box.textContent.length : 0;
    }
    const before = document.createRange();
    before.selectNodeContents(box);
    before.setEnd(node, offset);
    return before.toString().length;
  },

  // After a double-click in the output box `box`, widens the word the
  // browser selected to the whole rent it lies in, when the C++ side finds
  // one there (browsers end a word at a rent's point or sign).
  $ZvSelectRent__deps: ['malloc', 'free'],
  $ZvSelectRent: function(box) {
    const selection = getSelection();
    const node = selection.anchorNode;
    if (selection.rangeCount === 0 || !node ||
        node.nodeType !== Node.TEXT_NODE || !box.contains(node)) {
      return;
    }
    // The line in the node around the selection's start.
    const at = Math.min(selection.anchorOffset, selection.focusOffset);
    const text = node.data;
    const begin = text.lastIndexOf('\n', at - 1) + 1;
    const next = text.indexOf('\n', at);
    const end = next < 0 ? text.length : next;
    const units = end - begin;
    const line = _malloc(2 * units + 2);
    for (let i = 0; i < units; ++i) {
      HEAPU16[(line >> 1) + i] = text.charCodeAt(begin + i);
    }
    const span = _zorvik_rent_at(line, units, at - begin);
    _free(line);
    if (span === 0) return;
    selection.setBaseAndExtent(
        node, begin + (span >>> 16), node, begin + (span & 0xFFFF));
  },

  zv_open_window: function(width, height) {
    const form = document.getElementById('Form1');
    // In the table's pixels, which the style sheet scales as the form needs.
    form.style.setProperty('--window-width', width);
    form.style.setProperty('--window-height', height);
    // The size the window's text is drawn at, which is not always the size
    // its style asks for: a browser's minimum font size draws every text at
    // least that large but leaves the style's lengths (em, rem) as they were.
    // One character of the captions' script, as wide as the font is large,
    // and as high as their line; out of the flow, so that it widens nothing.
    const probe = document.createElement('span');
    probe.id = 'Probe';
    probe.textContent = '租';
    probe.setAttribute('aria-hidden', 'true');
    form.after(probe);
    // The window where it fits with a margin on either side, grown with its
    // drawn text as a desktop window grows with its font, never below the
    // table's pixels; where it does not fit (a phone, a desktop zoomed far
    // in, text too large for the screen), the style sheet lays the same
    // controls out as a phone form. Nothing is scaled: zoom is the user's.
    const place = () => {
      const drawn = probe.getBoundingClientRect();
      if (drawn.width === 0) return;  // not laid out (printing)
      form.style.setProperty('--drawn-font', `${drawn.width}px`);
      form.style.setProperty('--drawn-line', `${drawn.height}px`);
      const unit = Math.max(1, drawn.width / 13.3333);
      form.classList.toggle('phone', innerWidth < width * unit + 16);
    };
    addEventListener('resize', place);
    new ResizeObserver(place).observe(probe);
    place();
    // The height of the page the screen shows: less than the browser's
    // window where an on-screen keyboard covers its bottom, whether the
    // browser makes the page shorter or overlays it. Taken at the page's
    // scale, so that pinching to zoom changes nothing. A keyboard is up
    // while a box has the focus and the screen shows clearly less than it
    // did at the same width without one (turning the phone starts afresh);
    // only then, and below 18 lines of the form's text, does the style sheet
    // close the form's rows up. A short screen without a keyboard keeps the
    // whole form, and the page scrolls.
    const viewport = window.visualViewport;
    if (viewport) {
      let across = 0;
      let tallest = 0;
      const follow = () => {
        const height = viewport.height * viewport.scale;
        if (innerWidth !== across) {
          across = innerWidth;
          tallest = 0;
        }
        tallest = Math.max(tallest, height);
        const focused = document.activeElement;
        const typing = focused !== null && focused.localName === 'input';
        const keyboard = typing && height < 0.85 * tallest;
        form.style.setProperty('--visible-height', `${height}px`);
        form.classList.toggle(
            'short',
            keyboard &&
                height < 18 * parseFloat(getComputedStyle(form).fontSize));
      };
      viewport.addEventListener('resize', follow);
      // A focus leaving a box for another is judged where it lands.
      addEventListener('focusin', follow);
      addEventListener('focusout', () => setTimeout(follow));
      follow();
    }
    // Where zv_announce speaks: heard, never seen.
    const status = document.createElement('p');
    status.id = 'Status';
    status.setAttribute('role', 'status');
    form.after(status);
  },

  // Whether the guard lets a paste of `line` into `box` (at `row`) in; it
  // judges the whole text the box would hold after it.
  $ZvPasteLetIn__deps: ['malloc', 'free'],
  $ZvPasteLetIn: function(row, box, line) {
    const value = box.value;
    const after = value.slice(0, box.selectionStart) + line +
        value.slice(box.selectionEnd);
    const capacity = after.length * 3 + 1;
    const pointer = _malloc(capacity);
    const {written} = new TextEncoder().encodeInto(
        after, HEAPU8.subarray(pointer, pointer + capacity));
    const letIn = _zorvik_pasted(row, pointer, written);
    _free(pointer);
    return letIn;
  },

  zv_create_control__deps: [
    '$ZvControls', '$ZvText', '$ZvTextOffset', '$ZvPasteLetIn', '$ZvSelectRent'
  ],
  zv_create_control: function(
      row, kindName, name, caption, captionLength, left, top, width, height,
      visible) {
    const kind = UTF8ToString(kindName);
    const element = document.createElement(
        {label: 'label',
         input: 'input',
         output: 'div',
         button: 'button'}[kind]);
    const text = ZvText(caption, captionLength);
    element.id = UTF8ToString(name);
    if (kind === 'input') {
      element.type = 'text';
      element.value = text;
      element.autocomplete = 'off';
      element.spellcheck = false;
      element.setAttribute('autocorrect', 'off');
      element.setAttribute('autocapitalize', 'off');
      // What an input method is still composing is judged once committed.
      // A composition that ends as the focus leaves is told apart from one
      // the user commits in place only once the focus has gone: Chromium
      // ends it first and blurs the box after, and a pointer going down
      // elsewhere is the first sign. An engine that keeps the composition
      // open past the blur has lost it to the focus all the same.
      let composing = false;
      let leaving = false;
      let ending = null;  // how the last composition ended, until told
      const tellEnd = () => {
        if (ending === null) return;
        const how = ending();
        ending = null;
        _zorvik_composition_ended(row, how);
      };
      element.addEventListener('compositionstart', () => {
        tellEnd();
        composing = true;
        leaving = false;
        _zorvik_composition_started(row);
      });
      addEventListener('pointerdown', (event) => {
        if (event.target !== element) leaving = true;
      }, true);
      element.addEventListener('input', (event) => {
        if (!event.isComposing) _zorvik_text_changed(row);
      });
      element.addEventListener('compositionend', (event) => {
        const data = event.data;
        const wasComposing = composing;
        composing = false;
        // Form1::Ending: 0 committed, 1 abandoned, 2 the focus left.
        ending = () =>
            !wasComposing || leaving || document.activeElement !== element ? 2 :
            data                                                           ? 0 :
                                                                             1;
        setTimeout(tellEnd);
      });
      element.addEventListener('blur', () => {
        if (!composing && ending === null) return;
        composing = false;
        ending = () => 2;
        tellEnd();
      });
      // Browsers differ on a pasted or dropped text of several lines in a
      // one-line box: some make the breaks spaces, some drop them and join
      // the lines, so two spreadsheet cells, 1000 and 2000, could read as
      // 10002000. Like a Windows one-line box, this one takes the first line
      // alone, in every browser.
      const firstLine = (text) => text.split(/\r\n|\r|\n/)[0];
      element.addEventListener('paste', (event) => {
        const text = event.clipboardData.getData('text/plain');
        if (!ZvPasteLetIn(row, element, firstLine(text))) {
          event.preventDefault();
          return;
        }
        if (firstLine(text) === text.replace(/(\r\n|\r|\n)+$/, '')) return;
        event.preventDefault();
        document.execCommand('insertText', false, firstLine(text));
      });
      // A drop lands where the pointer happens to be, inside the digits
      // already there: "3000" dropped before the 0 of "0" would read 30000.
      // A dropped text replaces the box's whole text instead, as a paste
      // over a selection does.
      element.addEventListener('drop', (event) => {
        if (!event.dataTransfer.types.includes('text/plain')) return;
        event.preventDefault();
        element.focus();
        element.select();
        document.execCommand(
            'insertText', false,
            firstLine(event.dataTransfer.getData('text/plain')));
      });
    } else if (kind === 'output') {  // read-only, selectable
      element.tabIndex = 0;
      element.setAttribute('role', 'textbox');
      element.setAttribute('aria-multiline', 'true');
      element.setAttribute('aria-readonly', 'true');
      element.addEventListener('keydown', (event) => {
        if ((event.ctrlKey || event.metaKey) && !event.altKey &&
            event.key.toLowerCase() === 'a') {
          event.preventDefault();
          getSelection().selectAllChildren(element);
        }
      });
      element.addEventListener('dblclick', () => ZvSelectRent(element));
      // The text as written, line breaks and all: the blocks' own texts, not
      // a rendering of them, which would add a break at every block's edge.
      // Whole schedule entries go along as a table, for spreadsheets; the
      // C++ side makes it from where the selection lies in the shown text.
      element.addEventListener('copy', (event) => {
        const selection = getSelection();
        if (selection.rangeCount === 0) return;
        const range = selection.getRangeAt(0);
        event.clipboardData.setData('text/plain', range.toString());
        const html = UTF8ToString(_zorvik_schedule_html(
            ZvTextOffset(element, range.startContainer, range.startOffset),
            ZvTextOffset(element, range.endContainer, range.endOffset)));
        if (html) event.clipboardData.setData('text/html', html);
        event.preventDefault();
      });
    } else {  // a label or a button
      element.textContent = text;
      if (kind === 'button') {
        element.type = 'button';
        element.addEventListener('click', () => _zorvik_clicked(row));
        // Held down, Enter presses once, as Space does: browsers click again
        // on every repeat of the keyboard.
        element.addEventListener('keydown', (event) => {
          if (event.key === 'Enter' && event.repeat) event.preventDefault();
        });
      }
    }
    // The window's place for it, in the table's pixels; the style sheet
    // decides where and at what scale it applies.
    element.style.setProperty('--left', left);
    element.style.setProperty('--top', top);
    element.style.setProperty('--width', width);
    element.style.setProperty('--height', height);
    element.hidden = !visible;
    ZvControls[row] = element;
    document.getElementById('Form1').append(element);
  },

  zv_label_for__deps: ['$ZvControls'],
  zv_label_for: function(labelRow, controlRow) {
    ZvControls[labelRow].htmlFor = ZvControls[controlRow].id;
  },

  zv_set_accessible_name__deps: ['$ZvControls', '$ZvText'],
  zv_set_accessible_name: function(row, name, length) {
    let element = ZvControls[row];
    // A caption that labels nothing and is heard by a name of its own, as
    // the % is: a symbol, which a label element cannot be named as.
    if (element.localName === 'label' && !element.htmlFor) {
      const symbol = document.createElement('span');
      symbol.id = element.id;
      symbol.style.cssText = element.style.cssText;
      symbol.hidden = element.hidden;
      symbol.textContent = element.textContent;
      symbol.setAttribute('role', 'img');
      element.replaceWith(symbol);
      element = ZvControls[row] = symbol;
    }
    element.setAttribute('aria-label', ZvText(name, length));
  },

  zv_set_description__deps: ['$ZvControls'],
  zv_set_description: function(row, labelRow) {
    ZvControls[row].setAttribute('aria-describedby', ZvControls[labelRow].id);
  },

  zv_set_input_mode__deps: ['$ZvControls'],
  zv_set_input_mode: function(row, mode) {
    ZvControls[row].inputMode = UTF8ToString(mode);
  },

  zv_input_text__deps: ['$ZvControls', 'malloc'],
  zv_input_text: function(row, length) {
    const text = ZvControls[row].value;
    // UTF-8 takes at most three bytes for each UTF-16 unit.
    const capacity = text.length * 3 + 1;
    const pointer = _malloc(capacity);
    const {written} = new TextEncoder().encodeInto(
        text, HEAPU8.subarray(pointer, pointer + capacity));
    HEAPU32[length >> 2] = written;
    return pointer;
  },

  zv_set_input_text__deps: ['$ZvControls', '$ZvText'],
  zv_set_input_text: function(row, text, length) {
    const box = ZvControls[row];
    box.value = ZvText(text, length);
    box.setSelectionRange(0, 0);
    box.scrollLeft = 0;
  },

  zv_replace_input_text__deps: ['$ZvControls', '$ZvText'],
  zv_replace_input_text: function(row, before, beforeLength, text, length) {
    const box = ZvControls[row];
    const previous = ZvText(before, beforeLength);
    const replacement = ZvText(text, length);
    // Only an edit of the focused box goes on the browser's undo stack, as
    // the user's own edits do.
    if (document.activeElement !== box) {
      box.value = replacement;
      return;
    }
    // Edits all the way, no value set by script: Chromium keeps the box's
    // older undo steps across one, and undoes them later on a text they were
    // not made on, giving texts the box never held ("11000").
    const edit = (value) => {
      box.select();
      return document.execCommand('insertText', false, value);
    };
    // Inside another editing command (a drop) browsers run none, so there
    // the text is set as the program sets it.
    if (!((box.value === previous || edit(previous)) && edit(replacement))) {
      box.value = replacement;
    }
  },

  zv_has_focus__deps: ['$ZvControls'],
  zv_has_focus: function(row) {
    return document.activeElement === ZvControls[row];
  },

  zv_focus__deps: ['$ZvControls'],
  zv_focus: function(row) {
    ZvControls[row].focus();
  },

  zv_select_all__deps: ['$ZvControls'],
  zv_select_all: function(row) {
    ZvControls[row].select();
  },

  zv_show__deps: ['$ZvControls'],
  zv_show: function(row) {
    ZvControls[row].hidden = false;
  },

  zv_set_busy: function(busy) {
    document.documentElement.style.cursor = busy ? 'wait' : '';
  },

  zv_clear_output__deps: ['$ZvControls'],
  zv_clear_output: function(row) {
    ZvControls[row].replaceChildren();
    ZvControls[row].classList.remove('unbroken');
    ZvControls[row].scrollTop = 0;
  },

  zv_append_output__deps: ['$ZvControls', '$ZvText'],
  zv_append_output: function(row, text, length, lineBreaks) {
    const block = document.createElement('div');
    // The height it takes until it is laid out, for the scroll bar.
    block.style.setProperty('--lines', lineBreaks);
    block.textContent = ZvText(text, length);
    // Where the list is narrower than a year's line, browsers break it after
    // its caption, and also after the minus of a rent's negative exponent,
    // where "140" on a line of its own would read as another number. A list
    // holding such a rent is marked, and the style sheet breaks none of its
    // lines. (An element around each such rent would keep it whole alone,
    // but 32767 of them make WebKit lay out a long list five times slower.)
    if (block.textContent.includes('E-')) {
      ZvControls[row].classList.add('unbroken');
    }
    ZvControls[row].append(block);
  },

  zv_lay_out_unseen__deps: ['$ZvControls', '$ZvText'],
  zv_lay_out_unseen: function(row, text, length) {
    const sample = document.createElement('div');
    sample.style.visibility = 'hidden';
    sample.textContent = ZvText(text, length);
    ZvControls[row].after(sample);
    sample.getBoundingClientRect();  // laid out now, text shaped
    sample.remove();
  },

  zv_announce__deps: ['$ZvText'],
  zv_announce: function(text, length) {
    // A new text node each time, so that the same words are spoken again.
    document.getElementById('Status').replaceChildren(
        document.createTextNode(ZvText(text, length)));
  },

  zv_show_report__deps: ['$ZvText'],
  zv_show_report: function(
      title, titleLength, text, textLength, button, buttonLength) {
    const dialog = document.createElement('dialog');
    const heading = document.createElement('h1');
    const message = document.createElement('p');
    const ok = document.createElement('button');
    heading.id = 'ReportTitle';
    heading.textContent = ZvText(title, titleLength);
    message.id = 'ReportText';
    message.textContent = ZvText(text, textLength);
    ok.type = 'button';
    ok.textContent = ZvText(button, buttonLength);
    ok.autofocus = true;
    // A report the user must answer before going on: an alert dialog.
    dialog.setAttribute('role', 'alertdialog');
    dialog.setAttribute('aria-labelledby', heading.id);
    dialog.setAttribute('aria-describedby', message.id);
    dialog.append(heading, message, ok);
    // Modal for the keyboard too: Tab and Shift+Tab keep the focus on the
    // one button, wherever it was in the dialog, where a browser would move
    // it to its own bar or the page's body. A fresh press of Enter or Esc
    // closes the report as it goes down, one of Space as it comes up, as a
    // button's does. A key already down when the report opened is no answer
    // to it: its repeats and its release are swallowed, so that a held Enter
    // that computed leaves the report for the user to read. The focus then
    // goes back where it was.
    const before = document.activeElement;
    const pressed = new Set();  // keys gone down since the report opened
    // The close event comes a task later; the keys after the answer are the
    // page's again at once.
    const answer = () => {
      removeEventListener('keydown', onKey, true);
      removeEventListener('keyup', onKey, true);
      dialog.close();
    };
    const onKey = (event) => {
      // WebKitGTK names Shift+Tab's key "Unidentified" (X's ISO_Left_Tab);
      // its key code is still the Tab key's.
      if (event.key === 'Tab' || event.keyCode === 9) {
        event.preventDefault();
        ok.focus();
        return;
      }
      if (!['Enter', ' ', 'Escape'].includes(event.key)) return;
      // The engine's own handling (a click, a cancel) would not tell a held
      // key from a fresh one.
      event.preventDefault();
      if (event.type === 'keydown') {
        if (event.repeat) return;
        pressed.add(event.key);
        if (event.key !== ' ') answer();
      } else if (pressed.has(event.key)) {
        answer();
      }
    };
    addEventListener('keydown', onKey, true);
    addEventListener('keyup', onKey, true);
    ok.addEventListener('click', answer);
    // Modal, but not the browser's modal dialog: that would take the status
    // region out of what a screen reader sees while the report shows, and
    // its return when the report closes would be read out as if the last
    // computation had just been made (Chromium speaks the region again,
    // Firefox adds it anew). Only the window and the heading are made inert
    // instead: they take no clicks, no focus and nothing is read of them;
    // the status stays as it was, and silent.
    const blocked = [
      document.getElementById('Form1'),
      document.getElementById('Caption').parentElement
    ];
    // A click beside the report keeps the focus on its button.
    const keepFocus = (event) => {
      if (!dialog.contains(event.target)) event.preventDefault();
    };
    // However it closes, an engine's own way included.
    dialog.addEventListener('close', () => {
      removeEventListener('keydown', onKey, true);
      removeEventListener('keyup', onKey, true);
      removeEventListener('mousedown', keepFocus, true);
      for (const element of blocked) element.inert = false;
      dialog.remove();
      if (before) before.focus();
    });
    dialog.setAttribute('aria-modal', 'true');
    dialog.className = 'report';
    for (const element of blocked) element.inert = true;
    addEventListener('mousedown', keepFocus, true);
    document.body.append(dialog);
    dialog.show();
    ok.focus();
  },
});
