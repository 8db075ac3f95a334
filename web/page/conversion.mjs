// What the page shows for one state of its text and styles, worked out from the engine in one
// call: the answer, the preview's HTML ready to be put in as it is, the length counted against
// the limit and what fitting kept. It runs where the engine runs (the page's worker, or the
// page itself where no worker starts), so that the page's own thread only posts the state and
// puts the answer in.
// Exports declared where they stand: the build joins the modules into one script for the
// worker and for the single-file page (web/assemble.mjs).

// A request: {text, fg, bg, options} as colour() takes them (options.to: the target the result
// is written in; the preview shows its colours as Plus! codes show them); mode 'nickname' or
// 'message', the limit counted against; graded, whether a style changes colour along the text
// (fitting then thins its changes); control, whether the page refuses the text itself (only its
// length is counted); after, the words a conversation writes after a nickname (the preview
// shows them as the chat would); paper, 'light' or 'dark', what the preview's text stands on.
// Or {samples: [{name, fg, bg}]}: each saved style's name in its colours.

const kPaper = {light: '#FFFFFF', dark: '#1E1E1E'};
const kRecentAnswers = 4;
// A result with room for one more colour code (a text and a background colour are 17
// characters) kept every colour change.
const kRoomForOne = 20;
// The limit of a text written with room enough: none that a text reaches.
const kNoLimit = 0x7fffffff;
const encoder = new TextEncoder();

export function luminance(colour) {
  const [r, g, b] = [1, 3, 5].map((at) => {
    const c = parseInt(colour.slice(at, at + 2), 16) / 255;
    return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
  });
  return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}

export function contrast(a, b) {
  const [x, y] = [luminance(a), luminance(b)].sort((p, q) => q - p);
  return (x + 0.05) / (y + 0.05);
}

const escapeHtml = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
const colourChanges = (coded) => (coded.match(/\u00B7\$/g) ?? []).length;

// The engine's HTML with each span marked with its colours (data-colour, data-ground) and, for a
// colour too close to what it stands on, a thin outline of the opposite tone. Text without a
// background of its own stands on the paper. Each style is read once.
function markedHtml(html, grounded, paperColour) {
  const marked = new Map();  // a style attribute -> the span's opening tag
  return html.replace(/<span style="([^"]*)">/g, (tag, style) => {
    let open = marked.get(style);
    if (open === undefined) {
      const colour = /(?:^|;)color:(#[0-9A-Fa-f]{6})/.exec(style)?.[1] ?? '';
      const ground = grounded ? /background-color:(#[0-9A-Fa-f]{6})/.exec(style)?.[1] ?? '' : '';
      const kept = ground ? style : style.replace(/background-color:[^;]*;?/, '');
      const faint = colour !== '' && contrast(colour, ground || paperColour) < 1.5;
      const outline = !faint ? '' : luminance(colour) > 0.5 ? ' class="outline-dark"' : ' class="outline-light"';
      open = `<span style="${kept}" data-colour="${colour}" data-ground="${ground}"${outline}>`;
      marked.set(style, open);
    }
    return open;
  });
}

// The conversions over one engine. The engine's answers to the last few conversions are kept:
// one asked again for the same text, styles and options (Yes, after the question counted what it
// would send; a nickname's room as a message) is taken from there instead of being made again.
export function conversions(engine) {
  const recent = new Map();  // the arguments, as JSON -> the answer
  function answerFor(text, fg, bg, options) {
    const key = JSON.stringify([text, fg, bg, options]);
    let answer = recent.get(key);
    if (!answer) {
      answer = engine.colour(text, fg, bg, options);
      recent.set(key, answer);
      if (recent.size > kRecentAnswers) recent.delete(recent.keys().next().value);
    }
    return answer;
  }

  // How many colour changes fitting kept, and how many the text has with room enough (null when
  // not known), or null when fitting kept them all.
  function fitting({text, fg, bg, options, mode}, coded, length) {
    const roomFor = (of, within) => of <= within - kRoomForOne;
    if (roomFor(length, engine.limits[mode])) return null;
    const kept = colourChanges(coded);
    // A nickname as a message has the room of the longer limit: its colour changes there are
    // all there is while that one is not near its own limit.
    let whole = null;
    if (mode === 'nickname') {
      const roomy = answerFor(text, fg, bg, {...options, message: true, keepThinned: true});
      if (roomy.outcome === 'ok' && roomFor(engine.length(roomy.result), engine.limits.message)) {
        whole = colourChanges(roomy.result);
      }
    }
    return whole !== null && whole <= kept ? null : {kept, whole};
  }

  // For another target, how many colour changes fitting its limit kept, of how many the text
  // has written without a limit, or null when it kept them all. The Plus! text each was written
  // from counts them.
  function thinning({text, fg, bg, options, mode}, target, fitted, length) {
    const limit = target[`${mode}Limit`];
    if (!limit || length <= limit - kRoomForOne) return null;
    const kept = colourChanges(fitted);
    const roomy = answerFor(text, fg, bg, {...options, limit: kNoLimit, keepThinned: true});
    const whole = roomy.outcome === 'ok' ? colourChanges(roomy.plus) : null;
    return whole !== null && whole <= kept ? null : {kept, whole};
  }

  function convert(request) {
    const {text, fg, bg, options, graded, control, after, paper} = request;
    const target = engine.targets.find((t) => t.name === options.to) ?? engine.targets[0];
    const plus = target === engine.targets[0];
    // A length in the target's unit: Plus! text as the limits count it.
    const lengthOf = (coded) => (plus ? engine.length(coded)
      : target.unit === 'bytes' ? encoder.encode(coded).length : [...coded].length);
    // The engine reads a text up to a NUL: one stands in for it in the count.
    if (control) return {outcome: 'refused', length: lengthOf(text.replaceAll('\u0000', '\uFFFD')), html: ''};
    const answer = answerFor(text, fg, bg, options);
    const coded = answer.outcome === 'ok' ? answer.result : '';
    // The preview shows the Plus! text the result was written from, fitted as the result is;
    // backgrounds only where the target carries them.
    const fitted = answer.outcome === 'ok' ? answer.plus : '';
    // The words after a nickname: the end code resets its colours and formats there, as the chat
    // reads it (the renderer, as the editor does, keeps the colours after a reset); without the
    // end code they go on in the nickname's last colours and formats.
    const shown = options.noEnd ? engine.render(fitted + after) : engine.render(fitted) + escapeHtml(after);
    const html = fitted ? markedHtml(shown, target.backgrounds && bg !== 'none', kPaper[paper]) : '';
    // The length of what would be sent; while the question waits, of what Yes would send.
    const length = lengthOf(coded || text);
    let yesLength = null;
    if (answer.outcome === 'question') {
      const yes = answerFor(text, fg, bg, {...options, keepThinned: true});
      if (yes.outcome === 'ok') yesLength = lengthOf(yes.result);
    }
    return {...answer, html, length, yesLength,
      fitting: !coded || !graded ? null
        : plus ? fitting(request, coded, length) : thinning(request, target, fitted, length)};
  }

  return (request) => (request.samples
    ? request.samples.map(({name, fg, bg}) => {
      const sample = engine.colour(name, fg, bg, {keepThinned: true});
      return sample.outcome === 'ok' ? engine.render(sample.result) : null;
    })
    : convert(request));
}
