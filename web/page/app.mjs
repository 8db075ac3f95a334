// The colouring page: the text, its styles and formats in, the Plus! text out, converted by
// the engine in WebAssembly as the user types, with its length against the chat's limit.
import createTessalune from './tessalune.mjs';
import {languages} from './strings.mjs';

const kModes = ['nickname', 'message'];  // the names of their limits, too
const kShapes = ['linear', 'reverse', 'mirrored', 'mirroredReverse'];
const kFormats = ['bold', 'italic', 'underline', 'strike'];
const kStylesKey = 'tessalune-styles';
const kLanguageKey = 'tessalune-language';
const $ = (id) => document.getElementById(id);

const state = {
  mode: 'nickname',
  formats: {bold: false, italic: false, underline: false, strike: false},
  noEnd: false,
  keepThinned: false,  // the answer to the question, for the text and styles it was asked about
  sides: {
    fg: {kind: 'gradient', solid: '#000000', stops: ['#000080', '#0080FF'], shape: 'linear'},
    bg: {kind: 'none', solid: '#FFFFFF', stops: ['#55AAFF', '#D5EAFF'], shape: 'linear'},
  },
};
let language = languages.find((l) => l.code === 'en');
let engine = null;

// --- words -------------------------------------------------------------------------------

function say(key, ...values) {
  let text = language.text[key] ?? key;
  values.forEach((v, i) => (text = text.replace(`%${i + 1}`, v)));
  return text;
}

function chooseLanguage(code) {
  language = languages.find((l) => l.code === code) ?? language;
  document.documentElement.lang = language.code;
  document.title = say('title');
  for (const element of document.querySelectorAll('[data-text]')) element.textContent = say(element.dataset.text);
  $('text-label').textContent = say(state.mode === 'nickname' ? 'myNickname' : 'myMessage');
  $('language').value = language.code;
  for (const side of ['fg', 'bg']) buildSide(side);
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

// A style string back into a side's state; false when it is not one the page makes.
function takeStyle(side, text) {
  const s = state.sides[side];
  const colour = /^#[0-9A-Fa-f]{6}$/;
  if (text === 'rainbow' || (text === 'none' && side === 'bg')) {
    s.kind = text;
    return true;
  }
  const [form, ...colours] = String(text).split(':');
  if (!colours.every((c) => colour.test(c))) return false;
  if (form === 'solid' && colours.length === 1) {
    Object.assign(s, {kind: 'solid', solid: colours[0].toUpperCase()});
    return true;
  }
  const preset = /^grad([1-4])$/.exec(form);
  if (preset && colours.length === 2) {
    Object.assign(s, {kind: 'gradient', stops: colours.map((c) => c.toUpperCase()), shape: kShapes[preset[1] - 1]});
    return true;
  }
  const {minStops, maxStops} = engine.limits;
  if ((form === 'grad' || form === 'mirror') && colours.length >= minStops && colours.length <= maxStops) {
    Object.assign(s, {kind: 'gradient', stops: colours.map((c) => c.toUpperCase()),
      shape: form === 'grad' ? 'linear' : 'mirrored'});
    return true;
  }
  return false;
}

// --- the style controls ------------------------------------------------------------------

function element(tag, properties = {}, children = []) {
  const e = Object.assign(document.createElement(tag), properties);
  for (const child of children) e.append(child);
  return e;
}

function changeSide(side, change) {
  change(state.sides[side]);
  buildSide(side);
  schedule();
}

function buildSide(side) {
  const s = state.sides[side];
  const box = $(side);
  const legend = box.querySelector('legend');
  box.replaceChildren(legend);
  const kinds = element('div', {className: 'kind', role: 'radiogroup'});
  kinds.setAttribute('aria-label', say('kind'));
  for (const kind of [...(side === 'bg' ? ['none'] : []), 'solid', 'gradient', 'rainbow']) {
    const input = element('input', {type: 'radio', name: `${side}-kind`, value: kind, checked: s.kind === kind});
    input.addEventListener('change', () => changeSide(side, (x) => (x.kind = kind)));
    kinds.append(element('label', {}, [input, ' ', say(kind === 'solid' ? 'solidColour' : kind)]));
  }
  box.append(kinds);

  if (s.kind === 'solid') {
    const grid = element('div', {className: 'swatches', role: 'group'});
    grid.setAttribute('aria-label', say('solidColour'));
    engine.swatches.forEach((colour, i) => {
      const button = element('button', {type: 'button', className: 'swatch', title: colour});
      button.style.background = colour;
      button.setAttribute('aria-label', `${say('swatch', i + 1)} ${colour}`);
      button.setAttribute('aria-pressed', String(s.solid === colour));
      button.addEventListener('click', () => changeSide(side, (x) => (x.solid = colour)));
      grid.append(button);
    });
    const other = element('input', {type: 'color', value: s.solid.toLowerCase(), id: `${side}-other`});
    other.addEventListener('change', () => changeSide(side, (x) => (x.solid = other.value.toUpperCase())));
    box.append(grid, element('label', {htmlFor: `${side}-other`}, [say('otherColour'), ' ']), other);
  } else if (s.kind === 'gradient') {
    const shape = element('select', {id: `${side}-shape`});
    for (const name of kShapes) {
      const option = element('option', {value: name, textContent: say(name), selected: s.shape === name});
      shape.append(option);
    }
    shape.addEventListener('change', () => changeSide(side, (x) => (x.shape = shape.value)));
    const stops = element('div', {className: 'stops', role: 'group'});
    stops.setAttribute('aria-label', say('stops'));
    s.stops.forEach((colour, i) => {
      const input = element('input', {type: 'color', value: colour.toLowerCase(), title: colour});
      input.setAttribute('aria-label', say('stop', i + 1));
      input.addEventListener('change', () => changeSide(side, (x) => (x.stops[i] = input.value.toUpperCase())));
      stops.append(input);
    });
    const {minStops, maxStops} = engine.limits;
    const add = element('button', {type: 'button', textContent: '+', disabled: s.stops.length >= maxStops});
    add.setAttribute('aria-label', say('addStop'));
    add.addEventListener('click', () => changeSide(side, (x) => x.stops.push(x.stops[x.stops.length - 1])));
    const remove = element('button', {type: 'button', textContent: '−', disabled: s.stops.length <= minStops});
    remove.setAttribute('aria-label', say('removeStop'));
    remove.addEventListener('click', () => changeSide(side, (x) => x.stops.pop()));
    stops.append(add, remove);
    box.append(element('label', {htmlFor: `${side}-shape`}, [say('gradient'), ' ']), shape, stops);
  }
}

// --- conversion --------------------------------------------------------------------------

function text() {
  return state.mode === 'nickname' ? $('text-line').value : $('text-lines').value;
}

let pending = false;
// At most one conversion waits: typing faster than the page converts skips stale texts.
function schedule() {
  if (pending || !engine) return;
  pending = true;
  requestAnimationFrame(convert);
}

function convert() {
  pending = false;
  const options = {...state.formats, message: state.mode === 'message', noEnd: state.noEnd,
    keepThinned: state.keepThinned, language: language.catalogue};
  const answer = engine.colour(text(), styleOf('fg'), styleOf('bg'), options);
  const limit = engine.limits[state.mode];
  const asked = answer.outcome === 'question';
  $('question').hidden = !asked;
  $('refusal').hidden = answer.outcome === 'ok' || asked;
  if (asked) $('question-text').textContent = answer.question;
  if (answer.outcome === 'refused' || answer.outcome === 'invalid') $('refusal').textContent = answer.error;
  const coded = answer.outcome === 'ok' ? answer.result : '';
  $('preview').innerHTML = coded ? engine.render(coded) : '';
  $('code').value = coded;
  const length = engine.length(coded || text());
  $('count').textContent = say('count', length, limit);
  $('count').classList.toggle('over', length > limit);
  $('copy').disabled = !coded;
}

// Any change of the text or of a style asks the question again.
function changed() {
  state.keepThinned = false;
  schedule();
}

// --- copy, share, saved styles -----------------------------------------------------------

async function copyText(value, done) {
  try {
    await navigator.clipboard.writeText(value);
    $('copied').textContent = say(done);
  } catch {
    $('code').select();
    $('copied').textContent = document.execCommand?.('copy') ? say(done) : say('notCopied');
  }
}

function shareLink() {
  const fields = new URLSearchParams({
    t: text(), m: state.mode, fg: styleOf('fg'), bg: styleOf('bg'),
    f: kFormats.filter((f) => state.formats[f]).join(','), e: state.noEnd ? '1' : '0', l: language.code,
  });
  return `${location.href.split('#')[0]}#${fields}`;
}

function setMode(mode) {
  state.mode = mode;
  for (const radio of document.querySelectorAll('input[name=mode]')) radio.checked = radio.value === mode;
  const line = $('text-line');
  const lines = $('text-lines');
  if (mode === 'message' && lines.hidden) lines.value = line.value;
  if (mode === 'nickname' && line.hidden) line.value = lines.value.split(/\r?\n/)[0];
  line.hidden = mode !== 'nickname';
  lines.hidden = mode === 'nickname';
  const label = $('text-label');
  label.htmlFor = mode === 'nickname' ? 'text-line' : 'text-lines';
  label.textContent = say(mode === 'nickname' ? 'myNickname' : 'myMessage');
}

function setFormats(formats, noEnd) {
  for (const f of kFormats) state.formats[f] = formats.includes(f);
  state.noEnd = noEnd;
  for (const button of document.querySelectorAll('.format')) {
    button.setAttribute('aria-pressed', String(state.formats[button.dataset.format]));
  }
  $('no-end').checked = noEnd;
}

// The state a share link holds, taken back when the page opens with one.
function restoreLink() {
  if (location.hash.length < 2) return;
  const fields = new URLSearchParams(location.hash.slice(1));
  if (kModes.includes(fields.get('m'))) setMode(fields.get('m'));
  if (fields.has('t')) (state.mode === 'nickname' ? $('text-line') : $('text-lines')).value = fields.get('t');
  for (const side of ['fg', 'bg']) if (fields.has(side)) takeStyle(side, fields.get(side));
  setFormats((fields.get('f') ?? '').split(','), fields.get('e') === '1');
  if (fields.has('l')) localStorage.setItem(kLanguageKey, fields.get('l'));
}

function savedStyles() {
  try {
    const styles = JSON.parse(localStorage.getItem(kStylesKey) ?? '[]');
    return Array.isArray(styles) ? styles.filter((s) => typeof s?.name === 'string') : [];
  } catch {
    return [];
  }
}

function renderSaved() {
  const list = $('saved-list');
  list.replaceChildren();
  for (const style of savedStyles()) {
    const use = element('button', {type: 'button', textContent: say('use')});
    use.setAttribute('aria-label', `${say('use')}: ${style.name}`);
    use.addEventListener('click', () => {
      for (const side of ['fg', 'bg']) takeStyle(side, style[side]);
      setFormats(style.formats ?? [], Boolean(style.noEnd));
      for (const side of ['fg', 'bg']) buildSide(side);
      changed();
    });
    const remove = element('button', {type: 'button', textContent: say('delete')});
    remove.setAttribute('aria-label', `${say('delete')}: ${style.name}`);
    remove.addEventListener('click', () => {
      localStorage.setItem(kStylesKey, JSON.stringify(savedStyles().filter((s) => s.name !== style.name)));
      renderSaved();
    });
    list.append(element('li', {}, [element('span', {className: 'style-name', textContent: style.name}), use, remove]));
  }
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
    $('question').hidden = true;
    (state.mode === 'nickname' ? $('text-line') : $('text-lines')).focus();
  });
  $('copy').addEventListener('click', () => copyText($('code').value, 'copied'));
  $('share').addEventListener('click', () => copyText(shareLink(), 'shared'));
  $('save-form').addEventListener('submit', (e) => {
    e.preventDefault();
    const name = $('style-name').value.trim();
    if (!name) return;
    const style = {name, fg: styleOf('fg'), bg: styleOf('bg'),
      formats: kFormats.filter((f) => state.formats[f]), noEnd: state.noEnd};
    localStorage.setItem(kStylesKey, JSON.stringify([...savedStyles().filter((s) => s.name !== name), style]));
    $('style-name').value = '';
    renderSaved();
  });
  const select = $('language');
  for (const l of languages) select.append(element('option', {value: l.code, textContent: l.name}));
  select.addEventListener('change', () => {
    localStorage.setItem(kLanguageKey, select.value);
    chooseLanguage(select.value);
  });
  window.addEventListener('hashchange', () => {
    restoreLink();
    chooseLanguage(firstLanguage());
  });
}

async function start() {
  $('count').textContent = say('loading');
  engine = await createTessalune();
  wire();
  restoreLink();
  chooseLanguage(firstLanguage());
  document.body.dataset.ready = 'true';
  window.tessaluneReadyAt = performance.now();  // for the load budget's measurement
}

start();
