// The colouring page: the text, its styles and formats in, the Plus! text (or another target's
// codes) out, converted by the engine in WebAssembly (in a worker of its own) as the user
// types, with its length against the target's limit.
// Every control is made once and updated in place, so that focus and selection stay where
// the person left them; the words, swatches, limits and targets are the build's (the build
// writes the targets' choice into the page), so that the page is whole before the engine has
// loaded.
import {languages, swatches, limits, targets, webBase} from './strings.mjs';

const kModes = ['nickname', 'message'];  // the names of their limits, too
const kShapes = ['linear', 'reverse', 'mirrored', 'mirroredReverse'];
const kFormats = ['bold', 'italic', 'underline', 'strike'];
const kStylesKey = 'tessalune-styles';
const kLanguageKey = 'tessalune-language';
const kPaperKey = 'tessalune-paper';
const kNoteMs = 5000;
const kUndoMs = 20000;  // long enough to reach the Undo button by keyboard or a screen reader
// Gradients to start from: the two default colours in each of the four shapes, and a few of
// more colours.
const kPresets = [
  ...kShapes.map((shape) => ({stops: ['#000080', '#0080FF'], shape})),
  {stops: ['#800000', '#FF0000', '#FF8000', '#FFFF00'], shape: 'linear'},
  {stops: ['#004000', '#00A040', '#80FF80'], shape: 'mirrored'},
  {stops: ['#FF0080', '#8000FF', '#0080FF', '#00FFFF'], shape: 'linear'},
  {stops: ['#FFFFFF', '#FFD700', '#FF8C00'], shape: 'mirrored'},
];
const $ = (id) => document.getElementById(id);
const own = (object, key) => object !== null && typeof object === 'object' && Object.hasOwn(object, key);
// The engine's table of targets, the default first; undefined for a name it does not have.
const targetNamed = (name) => targets.find((t) => t.name === name);

const state = {
  mode: 'nickname',
  target: targets[0].name,  // the codes the result is written in
  formats: {bold: false, italic: false, underline: false, strike: false},
  noEnd: false,
  keepThinned: false,  // the answer to the question, for the text and styles it was asked about
  declined: false,
  sides: {
    fg: {kind: 'gradient', solid: '#000000', stops: ['#000080', '#0080FF'], shape: 'linear'},
    bg: {kind: 'none', solid: '#FFFFFF', stops: ['#55AAFF', '#D5EAFF'], shape: 'linear'},
  },
};
let language = languages.find((l) => l.code === 'en');
let engine = null;

// --- words -------------------------------------------------------------------------------

function say(key, ...values) {
  let text = own(language.text, key) ? language.text[key] : key;
  values.forEach((v, i) => (text = text.replace(`%${i + 1}`, v)));
  return text;
}

// Every word of the page in the language chosen; the controls stay as they are.
function chooseLanguage(code) {
  language = languages.find((l) => l.code === code) ?? language;
  document.documentElement.lang = language.code;
  document.title = say('title');
  for (const e of document.querySelectorAll('[data-text]')) e.textContent = say(e.dataset.text);
  for (const e of document.querySelectorAll('[data-label]')) e.setAttribute('aria-label', say(e.dataset.label));
  for (const e of document.querySelectorAll('[data-description]')) {
    e.setAttribute('aria-description', say(e.dataset.description));
  }
  $('text-label').textContent = say(state.mode === 'nickname' ? 'myNickname' : 'myMessage');
  labelCode();
  $('language').value = language.code;
  for (const side of ['fg', 'bg']) relabelStops(side);
  notes.retell();
  tellLinkProblems();
  renderSaved();
  schedule();
}

function firstLanguage() {
  const stored = localStorage.getItem(kLanguageKey);
  if (stored && languages.some((l) => l.code === stored)) return stored;
  for (const wanted of navigator.languages ?? [navigator.language]) {
    const found = languages.find((l) => wanted?.toLowerCase().startsWith(l.code));
    if (found) return found.code;
  }
  return 'en';
}

// --- notes: short words that end after a while or at the next change ----------------------

const notes = {
  shown: new Map(),  // element id -> {key, values, timer}
  show(id, key, ...values) {
    this.showFor(kNoteMs, id, key, ...values);
  },
  showFor(ms, id, key, ...values) {
    this.clear(id);
    const timer = setTimeout(() => this.clear(id), ms);
    this.shown.set(id, {key, values, timer});
    $(id).replaceChildren(element('span', {className: 'note-text', textContent: say(key, ...values)}));
    $(id).hidden = false;
  },
  clear(id) {
    const note = this.shown.get(id);
    if (!note) return;
    clearTimeout(note.timer);
    this.shown.delete(id);
    $(id).replaceChildren();
  },
  clearAll() {
    for (const id of [...this.shown.keys()]) this.clear(id);
  },
  retell() {
    for (const [id, {key, values}] of this.shown) $(id).querySelector('.note-text').textContent = say(key, ...values);
  },
};

// --- styles as the engine reads them -----------------------------------------------------

function styleOf(side) {
  const s = state.sides[side];
  switch (s.kind) {
    case 'none': return 'none';
    case 'rainbow': return 'rainbow';
    case 'solid': return `solid:${s.solid}`;
    default: {
      const shape = kShapes.indexOf(s.shape);
      if (s.stops.length === 2) return `grad${shape + 1}:${s.stops.join(':')}`;
      const stops = shape % 2 === 1 ? [...s.stops].reverse() : s.stops;
      return `${shape >= 2 ? 'mirror' : 'grad'}:${stops.join(':')}`;
    }
  }
}

// A style string (and the shape it was made with, which a reversed gradient of more than two
// colours does not tell) back into a side's state; false, with the side unchanged, when it is
// not one the page makes.
function takeStyle(side, text, shapeName) {
  const s = state.sides[side];
  if (typeof text !== 'string') return false;
  if (text === 'rainbow' || (text === 'none' && side === 'bg')) {
    s.kind = text;
    return true;
  }
  const [form, ...colours] = text.split(':');
  if (!colours.length || !colours.every((c) => /^#[0-9A-Fa-f]{6}$/.test(c))) return false;
  const upper = colours.map((c) => c.toUpperCase());
  if (form === 'solid' && colours.length === 1) {
    Object.assign(s, {kind: 'solid', solid: upper[0]});
    return true;
  }
  const preset = /^grad([1-4])$/.exec(form);
  if (preset && colours.length === 2) {
    Object.assign(s, {kind: 'gradient', stops: upper, shape: kShapes[preset[1] - 1]});
    return true;
  }
  const {minStops, maxStops} = limits;
  if ((form === 'grad' || form === 'mirror') && colours.length >= minStops && colours.length <= maxStops) {
    const mirrored = form === 'mirror';
    const reversed = shapeName === (mirrored ? 'mirroredReverse' : 'reverse');
    Object.assign(s, {kind: 'gradient', stops: reversed ? upper.reverse() : upper,
      shape: reversed ? shapeName : mirrored ? 'mirrored' : 'linear'});
    return true;
  }
  return false;
}

// --- the style controls: made once, updated in place -------------------------------------

function element(tag, properties = {}, children = []) {
  const e = Object.assign(document.createElement(tag), properties);
  for (const child of children) e.append(child);
  return e;
}
const labelled = (e, key, ...values) => {
  e.dataset.labelKey = key;
  e.dataset.labelValues = JSON.stringify(values);
  e.setAttribute('aria-label', say(key, ...values));
  return e;
};

function changeSide(side, change) {
  change(state.sides[side]);
  updateSide(side);
  changed();
}

function buildSide(side) {
  const box = $(side);
  const kinds = element('div', {className: 'kind', role: 'radiogroup'});
  kinds.dataset.label = 'kind';
  for (const kind of [...(side === 'bg' ? ['none'] : []), 'solid', 'gradient', 'rainbow']) {
    const input = element('input', {type: 'radio', name: `${side}-kind`, value: kind});
    input.addEventListener('change', () => changeSide(side, (x) => (x.kind = kind)));
    const word = element('span');
    word.dataset.text = kind === 'solid' ? 'solidColour' : kind;
    kinds.append(element('label', {}, [input, ' ', word]));
  }

  const solid = element('div', {className: 'solid'});
  const grid = element('div', {className: 'swatches', role: 'group'});
  grid.dataset.label = 'solidColour';
  swatches.forEach((colour, i) => {
    const button = element('button', {type: 'button', className: 'swatch', title: colour});
    button.style.background = colour;
    button.dataset.colour = colour;
    labelled(button, 'swatch', `${i + 1} ${colour}`);
    button.addEventListener('click', () => changeSide(side, (x) => (x.solid = colour)));
    grid.append(button);
  });
  const other = element('input', {type: 'color', id: `${side}-other`, className: 'picker'});
  other.addEventListener('input', () => changeSide(side, (x) => (x.solid = other.value.toUpperCase())));
  const otherHex = hexField(`${side}-other-hex`, (colour) => changeSide(side, (x) => (x.solid = colour)));
  labelled(otherHex, 'otherColour');
  const otherWord = element('span');
  otherWord.dataset.text = 'otherColour';
  solid.append(grid, element('label', {htmlFor: `${side}-other`}, [otherWord, ' ']), other, otherHex);

  const gradient = element('div', {className: 'gradient'});
  const shape = element('select', {id: `${side}-shape`});
  for (const name of kShapes) {
    const option = element('option', {value: name});
    option.dataset.text = name;
    shape.append(option);
  }
  shape.addEventListener('change', () => changeSide(side, (x) => (x.shape = shape.value)));
  const stops = element('ol', {className: 'stops'});
  stops.dataset.label = 'stops';
  const presets = element('div', {className: 'presets', role: 'group'});
  presets.dataset.label = 'presets';
  kPresets.forEach((preset, i) => {
    const button = element('button', {type: 'button', className: 'preset'});
    button.style.background = `linear-gradient(to right, ${gradientStops(preset).join(', ')})`;
    labelled(button, 'preset', i + 1);
    button.addEventListener('click', () => changeSide(side, (x) =>
      Object.assign(x, {stops: [...preset.stops], shape: preset.shape})));
    presets.append(button);
  });
  const gradientWord = element('span');
  gradientWord.dataset.text = 'gradient';
  const presetsWord = element('span', {className: 'presets-title'});
  presetsWord.dataset.text = 'presets';
  gradient.append(element('label', {htmlFor: `${side}-shape`}, [gradientWord, ' ']), shape, stops, presetsWord,
    presets);
  box.append(kinds, solid, gradient);
  updateSide(side);
}

// The colours a preset or a side paints, in the order they appear, for a CSS gradient.
function gradientStops({stops, shape}) {
  const ordered = shape === 'reverse' || shape === 'mirroredReverse' ? [...stops].reverse() : stops;
  return shape.startsWith('mirrored') ? [...ordered, ...ordered.slice(0, -1).reverse()] : ordered;
}

function hexField(id, take) {
  const field = element('input', {type: 'text', id, className: 'hex', maxLength: 7, spellcheck: false,
    autocomplete: 'off'});
  field.addEventListener('input', () => {
    const wanted = field.value.trim().replace(/^#?/, '#');
    const valid = /^#[0-9A-Fa-f]{6}$/.test(wanted);
    field.setAttribute('aria-invalid', String(!valid && field.value !== ''));
    if (valid) take(wanted.toUpperCase());
  });
  return field;
}

// Sets a value only when it differs: a field being typed in keeps its caret.
function setValue(input, value) {
  if (input.value !== value && !(input.classList.contains('hex') && input === document.activeElement &&
      input.value.trim().replace(/^#?/, '#').toUpperCase() === value)) {
    input.value = value;
  }
}

function updateSide(side) {
  const s = state.sides[side];
  const box = $(side);
  for (const radio of box.querySelectorAll('.kind input')) radio.checked = radio.value === s.kind;
  box.querySelector('.solid').hidden = s.kind !== 'solid';
  box.querySelector('.gradient').hidden = s.kind !== 'gradient';
  for (const swatch of box.querySelectorAll('.swatch')) {
    swatch.setAttribute('aria-pressed', String(swatch.dataset.colour === s.solid));
  }
  setValue($(`${side}-other`), s.solid.toLowerCase());
  setValue($(`${side}-other-hex`), s.solid);
  $(`${side}-shape`).value = s.shape;
  updateStops(side);
}

// One row a stop: its picker, its #RRGGBB field, insert after it, remove it. Rows are added or
// taken away at the end only, so that the focused one stays where it is.
function updateStops(side) {
  const s = state.sides[side];
  const list = $(side).querySelector('.stops');
  while (list.children.length > s.stops.length) {
    const row = list.lastElementChild;
    if (row.contains(document.activeElement)) list.children[s.stops.length - 1]?.querySelector('.remove')?.focus();
    row.remove();
  }
  while (list.children.length < s.stops.length) list.append(stopRow(side, list.children.length));
  s.stops.forEach((colour, i) => {
    const row = list.children[i];
    setValue(row.querySelector('.picker'), colour.toLowerCase());
    setValue(row.querySelector('.hex'), colour);
    row.querySelector('.picker').title = colour;
    row.querySelector('.insert').disabled = s.stops.length >= limits.maxStops;
    row.querySelector('.remove').disabled = s.stops.length <= limits.minStops;
    // A button that can no longer be pressed hands the focus to its stop's colour.
    if (row.contains(document.activeElement) && document.activeElement.disabled) row.querySelector('.picker').focus();
  });
  relabelStops(side);
}

function relabelStops(side) {
  for (const e of $(side).querySelectorAll('[data-label-key]')) {
    e.setAttribute('aria-label', say(e.dataset.labelKey, ...JSON.parse(e.dataset.labelValues)));
  }
}

function stopRow(side, i) {
  const row = element('li', {className: 'stop'});
  // Dragged by its grip, so that the mouse still selects text in the #RRGGBB field.
  const grip = element('span', {className: 'grip', textContent: '⠿', draggable: true});
  grip.setAttribute('aria-hidden', 'true');
  const picker = labelled(element('input', {type: 'color', className: 'picker'}), 'stop', i + 1);
  picker.dataset.description = 'moveHint';
  picker.setAttribute('aria-description', say('moveHint'));
  picker.addEventListener('input', () => changeSide(side, (x) => (x.stops[i] = picker.value.toUpperCase())));
  const hex = labelled(hexField(`${side}-stop-${i}`, (colour) => changeSide(side, (x) => (x.stops[i] = colour))),
    'hex', i + 1);
  const insert = labelled(element('button', {type: 'button', className: 'insert', textContent: '+'}), 'insertStop',
    i + 1);
  insert.addEventListener('click', () => {
    changeSide(side, (x) => x.stops.splice(i + 1, 0, between(x.stops[i], x.stops[i + 1] ?? x.stops[i])));
    $(side).querySelector('.stops').children[i + 1].querySelector('.picker').focus();
  });
  const remove = labelled(element('button', {type: 'button', className: 'remove', textContent: '−'}), 'removeStopAt',
    i + 1);
  remove.addEventListener('click', () => changeSide(side, (x) => x.stops.splice(i, 1)));
  // Alt+Left and Alt+Right move the stop, and the focus with it.
  row.addEventListener('keydown', (e) => {
    if (!e.altKey || (e.key !== 'ArrowLeft' && e.key !== 'ArrowRight')) return;
    const to = i + (e.key === 'ArrowLeft' ? -1 : 1);
    if (to < 0 || to >= state.sides[side].stops.length) return;
    e.preventDefault();
    const focused = [...row.querySelectorAll('input, button')].indexOf(document.activeElement);
    moveStop(side, i, to);
    $(side).querySelector('.stops').children[to].querySelectorAll('input, button')[Math.max(focused, 0)].focus();
  });
  row.addEventListener('dragstart', (e) => e.dataTransfer.setData('text/x-tessalune-stop', `${side}:${i}`));
  row.addEventListener('dragover', (e) => e.preventDefault());
  row.addEventListener('drop', (e) => {
    e.preventDefault();
    const [from, at] = e.dataTransfer.getData('text/x-tessalune-stop').split(':');
    if (from === side && Number(at) !== i) moveStop(side, Number(at), i);
  });
  row.append(grip, picker, hex, insert, remove);
  return row;
}

function moveStop(side, from, to) {
  changeSide(side, (x) => x.stops.splice(to, 0, ...x.stops.splice(from, 1)));
}

// The colour halfway between two.
function between(a, b) {
  const mid = [1, 3, 5].map((at) =>
    Math.round((parseInt(a.slice(at, at + 2), 16) + parseInt(b.slice(at, at + 2), 16)) / 2));
  return `#${mid.map((v) => v.toString(16).padStart(2, '0')).join('').toUpperCase()}`;
}

// --- paper -------------------------------------------------------------------------------

function paper() {
  const stored = localStorage.getItem(kPaperKey);
  if (stored === 'light' || stored === 'dark') return stored;
  return matchMedia('(prefers-color-scheme: dark)').matches ? 'dark' : 'light';
}

// The preview's paper; its faint colours are outlined against it by the next conversion.
function showPaper() {
  const tone = paper();
  for (const radio of document.querySelectorAll('input[name=paper]')) radio.checked = radio.value === tone;
  $('preview').dataset.paper = tone;
  schedule();
}

let painted = null;  // the HTML the preview shows

// The preview comes marked from the engine's side: put in at once, so that the page parses,
// restyles and lays it out once, whatever the number of spans, and only when it changed.
function paintPreview(html) {
  if (html === painted) return;
  painted = html;
  $('preview').innerHTML = html;
}

// --- the engine: in a worker, so that typing never waits for it ----------------------------

// Where the engine's worker comes from: the page's head starts one as the page is read (the
// single-file page its own, from the script it holds), so that the engine loads meanwhile.
const workers = window.tessaluneWorkers ??
  {make: () => new Worker(new URL('./engine-worker.mjs', import.meta.url), {type: 'module'})};
const localEngine = () => import('./local-engine.mjs').then((m) => m.default());

// Asks the engine in its worker; where no worker starts, in the page itself. ask(request)
// resolves to the answer and rejects when the engine could not be loaded.
function engineLink() {
  let worker = null;
  try {
    worker = workers.first ?? workers.make();
  } catch {}
  workers.first = null;
  const waiting = new Map();  // id -> {request, done, fail}
  let asked = 0;
  let local = null;
  const askInPage = (request) => (local ??= localEngine()).then((convert) => convert(request));
  const fallBack = () => {
    worker?.terminate();
    worker = null;
    for (const {request, done, fail} of waiting.values()) askInPage(request).then(done, fail);
    waiting.clear();
  };
  if (worker) {
    worker.onmessage = ({data}) => {
      const waiter = waiting.get(data.id);
      waiting.delete(data.id);
      if (data.failed === undefined) waiter?.done(data.answer);
      else waiter?.fail(new Error(data.failed));
    };
    worker.onerror = (e) => {
      e.preventDefault();
      fallBack();
    };
    if (worker.broken) fallBack();
  }
  return {
    ask(request) {
      if (!worker) return askInPage(request);
      return new Promise((done, fail) => {
        waiting.set(++asked, {request, done, fail});
        worker.postMessage({id: asked, request});
      });
    },
    close: () => worker?.terminate(),
  };
}

// --- conversion --------------------------------------------------------------------------

const textField = () => (state.mode === 'nickname' ? $('text-line') : $('text-lines'));

// The first control character the chat cannot carry (a line break is a message's own), as
// "U+0009" and its place in characters, or null.
function controlCharacter(text) {
  const pattern = state.mode === 'message' ? /[\u0000-\u0009\u000B-\u001F\u007F]/u : /[\u0000-\u001F\u007F]/u;
  const found = pattern.exec(text);
  if (!found) return null;
  const code = `U+${found[0].codePointAt(0).toString(16).toUpperCase().padStart(4, '0')}`;
  return [code, [...text.slice(0, found.index)].length + 1];
}

// What the engine is asked for the page as it is now.
function requestOfPage() {
  const text = textField().value;
  const changing = (kind) => kind === 'gradient' || kind === 'rainbow';
  return {
    text, fg: styleOf('fg'), bg: styleOf('bg'),
    options: {...state.formats, message: state.mode === 'message', noEnd: state.noEnd,
      keepThinned: state.keepThinned, language: language.catalogue, to: state.target},
    mode: state.mode,
    graded: changing(state.sides.fg.kind) || changing(state.sides.bg.kind),
    control: controlCharacter(text) !== null,
    // A conversation line: what the chat writes after the name, in the name's colours unless
    // its end code closed them.
    after: state.mode === 'nickname' ? ` ${say('says')}` : '',
    paper: $('preview').dataset.paper,
  };
}

// One conversion at a time is asked of the engine, always of the page as it is when it is
// asked: typing faster than the engine converts skips the texts a newer key overtook, and an
// answer that a change has overtaken meanwhile is dropped. The result is busy meanwhile.
const conversion = {asking: false, again: false};
function schedule() {
  if (!engine) return;
  conversion.again = true;
  if (conversion.asking) return;
  conversion.asking = true;
  $('result').setAttribute('aria-busy', 'true');
  queueMicrotask(ask);  // the changes one event makes are asked for once
}

async function ask() {
  const asking = engine;
  let request, answer;
  while (conversion.again) {
    conversion.again = false;
    request = requestOfPage();
    try {
      answer = await asking.ask(request);
    } catch {
      if (engine === asking) engineFailed();
      return;
    }
    if (engine !== asking) return;
  }
  conversion.asking = false;
  $('result').setAttribute('aria-busy', 'false');
  show(request, answer);
  if (document.body.dataset.ready !== 'true') {
    document.body.dataset.ready = 'true';
    window.tessaluneReadyAt = performance.now();  // the first preview filled, for the load budget's measurement
  }
}

function show(request, answer) {
  const control = request.control ? controlCharacter(request.text) : null;
  const target = targetNamed(request.options.to);
  const limit = target[`${request.mode}Limit`];
  const asked = answer.outcome === 'question' && !state.declined;
  setShown($('question'), asked);
  setShown($('declined'), answer.outcome === 'question' && state.declined);
  setShown($('refusal'), answer.outcome === 'refused' || answer.outcome === 'invalid');
  if (asked) setText($('question-text'), answer.question);
  if (!$('refusal').hidden) setText($('refusal'), control ? say('controlCharacter', ...control) : answer.error);
  const coded = answer.outcome === 'ok' ? answer.result : '';
  paintPreview(answer.html);
  if ($('code').value !== coded) $('code').value = coded;
  setText($('count'), countOf(target, answer.yesLength ?? answer.length, limit));
  $('count').classList.toggle('over', !$('refusal').hidden);
  $('copy').disabled = !coded;
  const {fitting} = answer;
  if (fitting) {
    const bytes = target.unit === 'bytes';
    setText($('fitted'), fitting.whole === null ? say(bytes ? 'thinnedOnlyBytes' : 'thinnedOnly', fitting.kept, limit)
      : say(bytes ? 'thinnedBytes' : 'thinned', fitting.kept, fitting.whole, limit));
  }
  setShown($('fitted'), fitting !== null);
  const withoutBackground = !target.backgrounds && request.bg !== 'none';
  if (withoutBackground) setText($('no-backgrounds'), say('noBackgrounds', target.name));
  setShown($('no-backgrounds'), withoutBackground);
}

// A length in the target's unit, against its limit when it has one (0: none).
function countOf({unit}, length, limit) {
  const bytes = unit === 'bytes';
  if (!limit) return say(bytes ? 'lengthBytes' : 'lengthCharacters', length);
  return say(bytes ? 'countBytes' : 'count', length, limit);
}

// Writes a text or a visibility only when it changes, so that what stays the same from one key
// to the next is not laid out and painted again.
function setText(e, text) {
  if (e.textContent !== text) e.textContent = text;
}
function setShown(e, shown) {
  if (e.hidden === shown) e.hidden = !shown;
}

// Any change of the text or of a style asks the question again, and ends the notes.
function changed() {
  state.keepThinned = false;
  state.declined = false;
  notes.clear('copied');
  if (linkProblems.length) {
    linkProblems = [];
    tellLinkProblems();
  }
  schedule();
}

// --- copy, share -------------------------------------------------------------------------

async function copyText(value, done) {
  try {
    await navigator.clipboard.writeText(value);
    notes.show('copied', done);
  } catch {
    const before = document.activeElement;
    const field = element('textarea', {value, readOnly: true, className: 'offscreen'});
    document.body.append(field);
    field.select();
    const copied = document.execCommand?.('copy');
    field.remove();
    before?.focus();
    notes.show('copied', copied ? done : 'notCopied');
  }
}

function shareLink() {
  const fields = new URLSearchParams({
    t: textField().value, m: state.mode, fg: styleOf('fg'), bg: styleOf('bg'),
    fs: state.sides.fg.shape, bs: state.sides.bg.shape,
    f: kFormats.filter((f) => state.formats[f]).join(','), e: state.noEnd ? '1' : '0', l: language.code,
    to: state.target,
  });
  const base = location.protocol === 'file:' && webBase ? webBase : location.href.split('#')[0];
  return `${base}#${fields}`;
}

// Each mode keeps a text of its own; the message starts from the nickname.
function setMode(mode) {
  state.mode = mode;
  for (const radio of document.querySelectorAll('input[name=mode]')) radio.checked = radio.value === mode;
  const line = $('text-line');
  const lines = $('text-lines');
  if (mode === 'message' && lines.value === '') lines.value = line.value;
  line.hidden = mode !== 'nickname';
  lines.hidden = mode === 'nickname';
  const label = $('text-label');
  label.htmlFor = mode === 'nickname' ? 'text-line' : 'text-lines';
  label.textContent = say(mode === 'nickname' ? 'myNickname' : 'myMessage');
  $('preview').className = `paper ${mode}`;
}

// The target the result is written in, and the code's caption that names it.
function setTarget(name) {
  state.target = name;
  $('target').value = name;
  labelCode();
}
function labelCode() {
  setText($('code-label'), state.target === targets[0].name ? say('code') : say('targetCodes', state.target));
}

function setFormats(formats, noEnd) {
  for (const f of kFormats) state.formats[f] = formats.includes(f);
  state.noEnd = noEnd;
  for (const button of document.querySelectorAll('.format')) {
    button.setAttribute('aria-pressed', String(state.formats[button.dataset.format]));
  }
  $('no-end').checked = noEnd;
}

// The state a share link holds, taken back when the page opens with one; its language is for
// this visit only. Returns the language it names, if any; a field not understood is named.
function restoreLink() {
  if (location.hash.length < 2) return null;
  const fields = new URLSearchParams(location.hash.slice(1));
  const bad = [];
  if (fields.has('m')) {
    if (kModes.includes(fields.get('m'))) setMode(fields.get('m'));
    else bad.push('mode');
  }
  // A nickname is one line: a text of several is named, never cut.
  if (fields.has('t')) {
    if (state.mode === 'nickname' && /[\r\n]/.test(fields.get('t'))) bad.push('myNickname');
    else textField().value = fields.get('t');
  }
  for (const [side, word, shape] of [['fg', 'textColour', 'fs'], ['bg', 'background', 'bs']]) {
    if (fields.has(side) && !takeStyle(side, fields.get(side), fields.get(shape))) bad.push(word);
    updateSide(side);
  }
  const formats = (fields.get('f') ?? '').split(',').filter(Boolean);
  if (!formats.every((f) => kFormats.includes(f))) bad.push('formats');
  if (fields.has('e') && !['0', '1'].includes(fields.get('e'))) bad.push('noEnd');
  setFormats(formats, fields.get('e') === '1');
  if (fields.has('to')) {
    if (targetNamed(fields.get('to'))) setTarget(fields.get('to'));
    else bad.push('target');
  }
  let linked = null;
  if (fields.has('l')) {
    if (languages.some((l) => l.code === fields.get('l'))) linked = fields.get('l');
    else bad.push('language');
  }
  linkProblems = bad;
  return linked;
}
let linkProblems = [];

function tellLinkProblems() {
  const note = $('link-note');
  const field = (word) => say(word).replace(/\s*:\s*$/, '');  // a caption without its colon
  note.replaceChildren(...linkProblems.map((word) =>
    element('span', {textContent: say('badLinkField', field(word))})));
  note.hidden = linkProblems.length === 0;
}

// --- saved styles ------------------------------------------------------------------------

// The stored styles that read whole; those that do not are counted, never half applied.
function savedStyles() {
  let stored;
  try {
    stored = JSON.parse(localStorage.getItem(kStylesKey) ?? '[]');
  } catch {
    return {styles: [], bad: 1};
  }
  if (!Array.isArray(stored)) return {styles: [], bad: 1};
  const styles = [];
  let bad = 0;
  const probe = {fg: {...state.sides.fg}, bg: {...state.sides.bg}};
  for (const entry of stored) {
    const whole = own(entry, 'name') && typeof entry.name === 'string' && entry.name.trim() !== '' &&
      own(entry, 'fg') && own(entry, 'bg') && own(entry, 'formats') && Array.isArray(entry.formats) &&
      entry.formats.every((f) => kFormats.includes(f)) && (!own(entry, 'noEnd') || typeof entry.noEnd === 'boolean') &&
      (!own(entry, 'target') || targetNamed(entry.target) !== undefined) &&
      ['fg', 'bg'].every((side) => {
        const kept = state.sides[side];
        state.sides[side] = {...probe[side], stops: [...probe[side].stops]};
        const understood = takeStyle(side, entry[side], own(entry, `${side}Shape`) ? entry[`${side}Shape`] : null);
        state.sides[side] = kept;
        return understood;
      });
    if (whole) styles.push(entry);
    else ++bad;
  }
  return {styles, bad};
}

function storeStyles(styles) {
  localStorage.setItem(kStylesKey, JSON.stringify(styles));
}

function styleOfPage(name) {
  return {name, fg: styleOf('fg'), bg: styleOf('bg'), fgShape: state.sides.fg.shape, bgShape: state.sides.bg.shape,
    formats: kFormats.filter((f) => state.formats[f]), noEnd: state.noEnd, target: state.target};
}

function useStyle(style) {
  for (const side of ['fg', 'bg']) {
    takeStyle(side, style[side], own(style, `${side}Shape`) ? style[`${side}Shape`] : null);
    updateSide(side);
  }
  setFormats(style.formats, style.noEnd === true);
  if (own(style, 'target')) setTarget(style.target);
  changed();
}

let badReported = false;
let pendingReplace = null;  // the name Save was pressed for once while a style had it

function renderSaved() {
  const list = $('saved-list');
  const focusedKey = list.contains(document.activeElement) ? document.activeElement.dataset.key : null;
  const {styles, bad} = savedStyles();
  if (bad && !badReported) {
    badReported = true;
    notes.show('saved-note', 'badStored', bad);
  }
  list.replaceChildren();
  const previews = styles.map((style, index) => {
    const preview = element('span', {className: 'style-preview', textContent: style.name});
    const button = (key, action) => {
      const b = element('button', {type: 'button', textContent: say(key)});
      b.dataset.key = `${key}:${index}`;
      b.setAttribute('aria-label', `${say(key)}: ${style.name}`);
      b.addEventListener('click', action);
      return b;
    };
    const use = button('use', () => useStyle(style));
    const rename = button('rename', () => startRename(preview, index, style));
    const remove = button('delete', () => {
      const all = savedStyles().styles;
      all.splice(index, 1);
      storeStyles(all);
      showUndo(style, index);
      renderSaved();
    });
    list.append(element('li', {}, [preview, use, rename, remove]));
    return preview;
  });
  if (focusedKey) list.querySelector(`[data-key="${focusedKey}"]`)?.focus();
  // Each name in its style's colours, once the engine has them; the names alone until then.
  // Asked after a conversion the same change asks for, which the person waits on more.
  const asked = ++samplesAsked;
  if (!styles.length) return;
  queueMicrotask(() => engine?.ask({samples: styles.map(({name, fg, bg}) => ({name, fg, bg}))}).then((samples) => {
    if (asked !== samplesAsked) return;
    samples.forEach((html, i) => html !== null && (previews[i].innerHTML = html));
  }, () => {}));  // the engine's failure is told by the conversion
}
let samplesAsked = 0;

function startRename(preview, index, style) {
  const field = element('input', {type: 'text', value: style.name, maxLength: 60, className: 'rename'});
  field.setAttribute('aria-label', say('rename'));
  preview.replaceWith(field);
  field.focus();
  field.select();
  let finished = false;
  const finish = (keep) => {
    if (finished) return;
    finished = true;
    const name = field.value.trim();
    const all = savedStyles().styles;
    if (keep && name && !all.some((s, i) => s.name === name && i !== index)) {
      all[index] = {...all[index], name};
      storeStyles(all);
    } else if (keep) {
      notes.show('saved-note', name ? 'nameTaken' : 'nameBlank', name);
    }
    renderSaved();
    $('saved-list').children[index]?.querySelector('button')?.focus();
  };
  field.addEventListener('keydown', (e) => {
    if (e.key === 'Enter' || e.key === 'Escape') {
      e.preventDefault();
      finish(e.key === 'Enter');
    }
  });
  field.addEventListener('blur', () => finish(true), {once: true});
}

function showUndo(style, index) {
  const note = $('saved-note');
  notes.showFor(kUndoMs, 'saved-note', 'deleted', style.name);
  const undo = element('button', {type: 'button', textContent: say('undo')});
  undo.dataset.text = 'undo';
  undo.addEventListener('click', () => {
    const all = savedStyles().styles;
    all.splice(Math.min(index, all.length), 0, style);
    storeStyles(all);
    notes.clear('saved-note');
    renderSaved();
    $('style-name').focus();
  });
  note.append(' ', undo);
  undo.focus();
}

function saveStyle(event) {
  event.preventDefault();
  const name = $('style-name').value.trim();
  if (!name) {
    notes.show('saved-note', 'nameBlank');
    return;
  }
  const all = savedStyles().styles;
  const at = all.findIndex((s) => s.name === name);
  if (at >= 0 && pendingReplace !== name) {
    pendingReplace = name;
    notes.show('saved-note', 'nameTaken', name);
    return;
  }
  pendingReplace = null;
  if (at >= 0) all[at] = styleOfPage(name);
  else all.push(styleOfPage(name));
  storeStyles(all);
  notes.clear('saved-note');
  $('style-name').value = '';
  renderSaved();
}

// --- start -------------------------------------------------------------------------------

function wire() {
  $('text-line').addEventListener('input', changed);
  $('text-lines').addEventListener('input', changed);
  $('text-line').addEventListener('keydown', (e) => {
    if (e.key === 'Enter') e.preventDefault();
  });
  for (const radio of document.querySelectorAll('input[name=mode]')) {
    radio.addEventListener('change', () => {
      setMode(radio.value);
      changed();
    });
  }
  $('target').addEventListener('change', () => {
    setTarget($('target').value);
    changed();
  });
  for (const radio of document.querySelectorAll('input[name=paper]')) {
    radio.addEventListener('change', () => {
      localStorage.setItem(kPaperKey, radio.value);
      showPaper();
    });
  }
  matchMedia('(prefers-color-scheme: dark)').addEventListener('change', showPaper);
  for (const button of document.querySelectorAll('.format')) {
    button.addEventListener('click', () => {
      state.formats[button.dataset.format] = !state.formats[button.dataset.format];
      button.setAttribute('aria-pressed', String(state.formats[button.dataset.format]));
      changed();
    });
  }
  $('no-end').addEventListener('change', () => {
    state.noEnd = $('no-end').checked;
    changed();
  });
  $('keep').addEventListener('click', () => {
    state.keepThinned = true;
    schedule();
    $('code').focus();
  });
  $('drop').addEventListener('click', () => {
    state.declined = true;
    $('question').hidden = true;
    $('declined').hidden = false;
    schedule();
    $('ask-again').focus();
  });
  $('ask-again').addEventListener('click', () => {
    state.declined = false;
    $('declined').hidden = true;
    $('question').hidden = false;
    $('keep').focus();
    schedule();
  });
  $('copy').addEventListener('click', () => copyText($('code').value, 'copied'));
  $('share').addEventListener('click', () =>
    copyText(shareLink(), location.protocol === 'file:' && !webBase ? 'localLink' : 'shared'));
  $('style-name').addEventListener('input', () => {
    pendingReplace = null;
    notes.clear('saved-note');
  });
  $('save-form').addEventListener('submit', saveStyle);
  $('language').addEventListener('change', () => {
    localStorage.setItem(kLanguageKey, $('language').value);
    chooseLanguage($('language').value);
  });
  window.addEventListener('hashchange', () => {
    const linked = restoreLink();
    const problems = linkProblems;
    changed();
    linkProblems = problems;
    chooseLanguage(linked ?? firstLanguage());
  });
  $('retry').addEventListener('click', () => loadEngine());
}

// Links the page to a new engine (the worker started with the page, the first time) and
// converts.
function loadEngine() {
  engine?.close();
  Object.assign(conversion, {asking: false, again: false});
  $('engine-failed').hidden = true;
  $('count').textContent = say('loading');
  engine = engineLink();
  schedule();
  renderSaved();
}

function engineFailed() {
  conversion.asking = false;
  $('result').setAttribute('aria-busy', 'false');
  $('engine-failed').hidden = false;
  $('count').textContent = '';
  $('retry').focus();
}

function start() {
  for (const side of ['fg', 'bg']) buildSide(side);
  wire();
  const linked = restoreLink();
  chooseLanguage(linked ?? firstLanguage());
  showPaper();
  loadEngine();
}

start();
