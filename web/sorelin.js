// What the window does: a press copies the button's text and shows the
// correspondence of its row in the pane of its set; a tab switch and a click
// on a credit line blank the panes. The texts are in the page and in the
// declaration above, both written from the catalogue.
(() => {
    const form = document.getElementById('Form1');
    const tabs = [...form.querySelectorAll('[role=tab]')];
    const panels = tabs.map((tab) => document.getElementById(tab.getAttribute('aria-controls')));
    const panes = [document.getElementById('Text1'), document.getElementById('Text2')];
    const credits = [document.getElementById('Label1'), document.getElementById('Label2')];
    const note = document.getElementById('note');
    const keepOnTop = document.getElementById('keepOnTop');
    let noteTimer = 0;
    let onTop = null; // the always-on-top window the form is in, if any

    function paint(pane, text, colour) {
        pane.value = text;
        pane.style.backgroundColor = colour;
        pane.style.color = colour === BLANK ? 'CanvasText' : '#000';
    }

    const blank = (pane) => paint(pane, '', BLANK);
    const current = () => tabs.findIndex((tab) => tab.getAttribute('aria-selected') === 'true');

    // Switching blanks both panes, the old set's first; the clipboard stays.
    function select(index) {
        if (index === current() || index < 0 || index >= tabs.length)
            return;
        tabs.forEach((tab, i) => {
            tab.setAttribute('aria-selected', i === index);
            tab.tabIndex = i === index ? 0 : -1;
            panels[i].hidden = i !== index;
        });
        panes.forEach(blank);
    }

    // The text as plain text onto the clipboard, through the window the
    // button is in (the page's, or the always-on-top one, which then has the
    // focus); where the browser refuses that, through a copy command.
    function copy(button, text) {
        const doc = button.ownerDocument;
        const byCommand = () => {
            let copied = false;
            const put = (event) => {
                event.clipboardData.setData('text/plain', text);
                event.preventDefault();
                copied = true;
            };
            doc.addEventListener('copy', put, true);
            try {
                copied = doc.execCommand('copy') && copied;
            } catch (error) {
                copied = false;
            }
            doc.removeEventListener('copy', put, true);
            return copied;
        };
        const clipboard = doc.defaultView.navigator.clipboard;
        if (!clipboard || !clipboard.writeText)
            return Promise.resolve(byCommand());
        // A browser may leave the request unanswered (Chromium does where the
        // permission is denied): after a while that counts as a refusal, so
        // that the note still comes.
        const unanswered = new Promise((settle) => setTimeout(settle, 3000, false));
        return Promise.race([clipboard.writeText(text).then(() => true, byCommand), unanswered]);
    }

    function hideNote() {
        clearTimeout(noteTimer);
        note.hidden = true;
    }

    // A copy that did not reach the clipboard is never silent: a note by the
    // button, read out by screen readers, until the next press or for 10 s.
    // It goes below the button, or above it where the window ends first.
    function showNote(button) {
        note.textContent = '';
        note.hidden = false;
        note.textContent = FAILURE;
        let x = 0;
        let y = 0;
        for (let e = button; e && e !== form; e = e.offsetParent) {
            x += e.offsetLeft;
            y += e.offsetTop;
        }
        let top = y + button.offsetHeight + 16;
        if (top + note.offsetHeight > form.offsetHeight)
            top = y - note.offsetHeight;
        note.style.left = Math.max(0, Math.min(x + 2, form.offsetWidth - note.offsetWidth)) + 'px';
        note.style.top = top + 'px';
        clearTimeout(noteTimer);
        noteTimer = setTimeout(hideNote, 10000);
    }

    // The copy is asked for first, so that the browser is writing the
    // clipboard while the pane is drawn; the pane is filled in the same turn,
    // before any answer, so a copy that fails still leaves it showing the
    // pressed item, as on the desktop.
    function press(button) {
        const set = panels.indexOf(button.parentNode);
        const row = button.dataset.r;
        copy(button, button.getAttribute('aria-description')).then((copied) => {
            if (!copied)
                showNote(button);
        });
        if (row === '0')
            blank(panes[set]);
        else if (row)
            paint(panes[set], PANE[set][row - 1], COLOUR[set][row - 1]);
    }

    form.addEventListener('click', (event) => {
        const target = event.target.closest('button, .cr');
        if (!target)
            return;
        if (target.getAttribute('role') === 'tab')
            select(tabs.indexOf(target));
        else if (credits.includes(target))
            blank(panes[credits.indexOf(target)]);
        else
            press(target);
    });

    // The arrow keys select the tab on their side, as in the desktop's row of
    // tabs; the focus goes with the selection.
    tabs[0].parentNode.addEventListener('keydown', (event) => {
        const step = { ArrowLeft: -1, ArrowRight: 1 }[event.key];
        if (!step || event.altKey || event.ctrlKey || event.metaKey)
            return;
        event.preventDefault();
        select(current() + step);
        tabs[current()].focus();
    });

    // Any other press, by mouse, touch or key, takes the note away.
    const modifiers = ['Shift', 'Control', 'Alt', 'AltGraph', 'Meta', 'CapsLock', 'NumLock', 'ScrollLock'];
    form.addEventListener('pointerdown', hideNote, true);
    form.addEventListener('keydown', (event) => {
        if (!modifiers.includes(event.key))
            hideNote();
    }, true);

    // The browser's own zoom, which the teacher chose and fitting keeps:
    // Chromium gives the window's outer size in units the zoom leaves alone
    // and the inner one in the page's, so their ratio is the zoom (less a
    // pinch, which a tablet counts in the inner size), taken as the nearest
    // step of its ladder. A ratio near no step (a docked developer pane)
    // counts as none; so does Firefox's zoom, which scales both alike.
    const zooms = [0.25, 1 / 3, 0.5, 2 / 3, 0.75, 0.8, 0.9, 1, 1.1, 1.25, 1.5, 1.75, 2, 2.5, 3, 4, 5];
    function zoom(view) {
        const ratio = view.outerWidth / view.innerWidth / (view.visualViewport ? view.visualViewport.scale : 1);
        return zooms.find((z) => Math.abs(ratio / z - 1) < 0.03) || 1;
    }

    // One piece, scaled to the window it is in as that window would be
    // without the zoom: with a mouse never larger than designed, smaller
    // where the window is too small for it; with a finger (a tablet, a
    // Chromebook as one) as large as the screen allows, across its middle,
    // never smaller, the page scrolling where the screen is shorter. On a
    // tablet it stays clear of the rounded corners and the home indicator.
    // The control that keeps it on top goes beside it, or below it; where
    // neither has room, into the corner the frame leaves free at the bottom
    // right, on both tabs. The page's own box is measured, not the part of
    // it shown, which a tablet widens while anything sticks out, and without
    // scroll bars, which the page has only where the window is larger.
    const coarse = matchMedia('(pointer: coarse)');
    function fit() {
        const doc = form.ownerDocument;
        const view = doc.defaultView;
        const page = doc.documentElement;
        page.style.overflow = 'hidden';
        const safe = view.getComputedStyle(doc.body);
        const inset = (side) => parseFloat(safe[`padding${side}`]) || 0;
        const across = page.clientWidth - inset('Left') - inset('Right');
        const down = page.clientHeight - inset('Top') - inset('Bottom');
        const [width, height] = SIZE;
        const z = zoom(view);
        const most = Math.min(across * z / width, down * z / height);
        const touch = coarse.matches;
        const scale = touch ? Math.max(1, most) : Math.min(1, most);
        const x = inset('Left') + (touch ? Math.max(0, (across - width * scale) / 2) : 0);
        form.style.transform = scale !== 1 ? `scale(${scale})` : '';
        form.style.left = `${x}px`;
        form.style.top = `${inset('Top')}px`;
        if (width * scale > across + 0.5 || height * scale > down + 0.5)
            page.style.overflow = '';
        if (onTop || keepOnTop.hidden)
            return;
        let left = x + width * scale + 8;
        let top = 8;
        if (page.clientWidth - left < keepOnTop.offsetWidth + 8) {
            left = 8;
            top = height * scale + 8;
            if (page.clientHeight - top < keepOnTop.offsetHeight + 8) {
                left = x + (width - 12) * scale - keepOnTop.offsetWidth;
                top = (height - 12) * scale - keepOnTop.offsetHeight;
            }
        }
        keepOnTop.style.left = `${Math.round(left)}px`;
        keepOnTop.style.top = `${Math.round(top)}px`;
    }

    // Where the browser offers a window that stays above the others, the
    // form moves into it with its stylesheet, and comes back when it closes.
    async function toggleOnTop() {
        if (onTop) {
            onTop.close();
            return;
        }
        const view = await window.documentPictureInPicture.requestWindow({
            width: form.offsetWidth,
            height: form.offsetHeight,
        });
        const sheets = [...document.querySelectorAll('link[rel=stylesheet]')].map((link) => {
            const copy = view.document.createElement('link');
            copy.rel = 'stylesheet';
            copy.href = link.href;
            view.document.head.append(copy);
            return new Promise((done) => { copy.onload = copy.onerror = done; });
        });
        await Promise.all(sheets);
        view.document.title = document.title;
        view.document.documentElement.lang = document.documentElement.lang;
        const place = form.nextSibling;
        onTop = view;
        view.document.body.append(form);
        keepOnTop.setAttribute('aria-pressed', 'true');
        view.addEventListener('resize', fit);
        view.addEventListener('pagehide', () => {
            onTop = null;
            hideNote();
            document.body.insertBefore(form, place);
            keepOnTop.setAttribute('aria-pressed', 'false');
            fit();
            tabs[current()].focus();
        });
        fit();
        tabs[current()].focus();
    }

    // The form's scale comes from its designed size, so that the start asks
    // for no layout: the control that keeps it on top shows at once where
    // the stylesheet puts it (beside the form), and moves, which needs its
    // size, once the page has been drawn.
    addEventListener('resize', fit);
    coarse.addEventListener('change', fit);
    fit();
    if ('documentPictureInPicture' in window) {
        keepOnTop.hidden = false;
        keepOnTop.addEventListener('click', toggleOnTop);
        requestAnimationFrame(() => setTimeout(fit));
    }
    tabs[current()].focus();

    // Installable and kept for offline use where the page is served; a page
    // opened as a file works without (and a browser may not even read a
    // manifest from a file).
    if (/^https?:$/.test(location.protocol)) {
        const manifest = document.createElement('link');
        manifest.rel = 'manifest';
        manifest.href = 'manifest.webmanifest';
        document.head.append(manifest);
        if ('serviceWorker' in navigator)
            addEventListener('load', () => navigator.serviceWorker.register('sw.js').catch(() => {}));
    }
})();
