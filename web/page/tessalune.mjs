// Tessalune's engine in WebAssembly, for browsers, workers and node:
//   const tessalune = await createTessalune();
//   tessalune.colour(text, fg, bg = 'none', options = {}) -> {outcome, result, question, error,
//     length}
//   tessalune.convert(plusText, options = {}) -> the same, for Plus! text written in a target's
//     codes and fitted to its limit, as `tessalune convert --from plus --as TARGET` does
//   tessalune.render(plusText) -> the HTML `tessalune render --html` writes
//   tessalune.length(plusText) -> the length the nickname's and message's limits count
//   tessalune.swatches -> the editor's sixteen solid colours
//   tessalune.limits -> {nickname, message, minStops, maxStops, gradientEnd}: the lengths in
//     characters, how many colours a gradient goes through, how far a gradient paints
//   tessalune.flags -> the bit of each option colour() takes
//   tessalune.targets -> the codes a result can be written in, default first: {name, unit
//     ('characters' or 'bytes'), nicknameLimit, messageLimit (0: none), backgrounds}
//   tessalune.languages -> the plug-in's languages in its list's order, {code, file, name,
//     catalogue}; tessalune.fallbackLanguage -> the catalogue that stands in for any other
// Texts are strings, or Uint8Array for bytes as they are. Styles are strings, the colour
// tool's: "none", "solid:#RRGGBB", "gradN:#..:#.." (N 1 to 4: linear, reversed, mirrored,
// mirrored reversed), "grad:#..:#..[:...]", "mirror:...", "rainbow"; the background is "none"
// when left out. Options are an object of booleans {message, noEnd, keepThinned, bold,
// italic, underline, strike}, language: the language refusals and questions are told in,
// as its code ("fr", or a tag such as "fr-CA") or its message table id (see .languages), English when
// left out; to: the name of the target the result is written in ('plus' when left out), and
// limit: the longest result in the target's unit instead of its own limit (a whole number
// above 0). convert() takes message, noEnd, keepThinned, language, to and limit. Options null
// are none.
// A call with an argument of the wrong type (a text that is not a string, options that are
// not an object, an option no one knows) throws a TypeError. Otherwise colour() answers
// with one of four outcomes, those of the C interface's tessalune_colour_as:
//   'ok'        result: the text in the target's codes (Plus! text by default), length: its
//               length in the target's unit, plus: the Plus! text, fitted to the target's
//               limit, it was written from (render(plus) shows its colours);
//   'refused'   error: why the text cannot be coloured as asked, as the plug-in tells it;
//   'question'  question: what the plug-in asks when it had to drop colour changes to fit
//               the limit; colouring again with keepThinned is the answer yes;
//   'invalid'   error: the argument that is wrong ("fg: ...", an unknown language).
// The fields an outcome does not use are null.
import createTessaluneCore from './tessalune-core.mjs';
// A table of the core's, name by name until the first empty name.
function tableOf(core, nameAt, valueAt) {
  const table = {};
  for (let i = 0; ; ++i) {
    const name = core.UTF8ToString(nameAt(i));
    if (!name) return table;
    table[name] = valueAt(i);
  }
}

// The plug-in's languages, in the order of its list: the core's table, up to its first
// empty code.
function languagesOf(core) {
  const languages = [];
  for (let i = 0; ; ++i) {
    const code = core.UTF8ToString(core._tessalune_web_language_code(i));
    if (!code) return languages;
    languages.push({
      code,
      file: core.UTF8ToString(core._tessalune_web_language_file(i)),
      name: core.UTF8ToString(core._tessalune_web_language_name(i)),
      catalogue: core._tessalune_web_language_catalogue(i),
    });
  }
}

// The targets a result can be written in, in the core's table's order (the default first).
function targetsOf(core) {
  const targets = [];
  for (let i = 0; ; ++i) {
    const name = core.UTF8ToString(core._tessalune_web_target_name(i));
    if (!name) return targets;
    targets.push({
      name,
      unit: core.UTF8ToString(core._tessalune_web_target_unit(i)),
      nicknameLimit: core._tessalune_web_target_nickname_limit(i),
      messageLimit: core._tessalune_web_target_message_limit(i),
      backgrounds: core._tessalune_web_target_backgrounds(i) !== 0,
    });
  }
}

// The engine's entry points over one instance of the core.
function bind(core) {
  const fallbackLanguage = core._tessalune_web_fallback_language();
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  const limits = tableOf(core, core._tessalune_web_limit_name, core._tessalune_web_limit);
  const flags = tableOf(core, core._tessalune_web_flag_name, core._tessalune_web_flag);
  const languages = languagesOf(core);
  const targets = targetsOf(core);
  const colourOptions = [...Object.keys(flags), 'language', 'to', 'limit'];
  const convertOptions = ['message', 'noEnd', 'keepThinned', 'language', 'to', 'limit'];
  const isText = (value) => typeof value === 'string' || value instanceof Uint8Array;
  const own = (object, name) => Object.prototype.hasOwnProperty.call(object, name);
  // What a wrong argument was, for a TypeError's message.
  const describe = (value) => {
    if (value === null) return 'null';
    if (Array.isArray(value)) return 'an array';
    return typeof value === 'object' ? 'an object' : `a ${typeof value}`;
  };

  // The options' flags; a TypeError for options that are not an object of the names a
  // function knows (null is none).
  function flagsOf(what, options, optionNames) {
    if (options === null) return 0;
    if (typeof options !== 'object' || options === null || Array.isArray(options)) {
      throw new TypeError(`${what}: options must be an object, not ${describe(options)}`);
    }
    let bits = 0;
    for (const name of Object.keys(options)) {
      if (!optionNames.includes(name)) {
        throw new TypeError(`${what}: unknown option ${JSON.stringify(name)} (known: ${optionNames.join(', ')})`);
      }
      const value = options[name];
      if (!Object.hasOwn(flags, name) || value === undefined) continue;
      if (typeof value !== 'boolean') throw new TypeError(`${what}: option ${name} must be true or false`);
      if (value) bits |= flags[name];
    }
    return bits;
  }
  // The target the options name and the limit they give (0: the target's own); a TypeError
  // for a name the table does not have or a limit that is not a whole number above 0.
  function targetOf(what, options) {
    const to = options?.to === undefined ? 'plus' : options.to;
    const target = typeof to === 'string' ? targets.find((t) => t.name === to) : undefined;
    if (!target) {
      const value = typeof to === 'string' ? JSON.stringify(to) : describe(to);
      throw new TypeError(`${what}: option to must be one of ${targets.map((t) => t.name).join(', ')}, not ${value}`);
    }
    const limit = options?.limit;
    if (limit === undefined) return {target, limit: 0};
    if (!(Number.isInteger(limit) && limit > 0 && limit <= 0x7fffffff)) {
      const value = typeof limit === 'number' ? String(limit) : describe(limit);
      throw new TypeError(`${what}: option limit must be a whole number above 0, not ${value}`);
    }
    return {target, limit};
  }
  // The message table of a language given by code (or a tag that starts with one, such as
  // "fr-CA") or by its table; null for one the plug-in does not have.
  function catalogueOf(language) {
    if (language === undefined) return fallbackLanguage;
    if (typeof language === 'number') {
      return languages.some((l) => l.catalogue === language) ? language : null;
    }
    if (typeof language !== 'string') {
      throw new TypeError(`colour: option language must be a code or a number, not ${describe(language)}`);
    }
    const code = language.toLowerCase().split(/[-_]/)[0];
    return languages.find((l) => l.code === code)?.catalogue ?? null;
  }

  // A zero-ended copy of a text in the core's memory, released by the caller.
  function put(text) {
    const bytes = typeof text === 'string' ? encoder.encode(text) : text;
    const at = core._malloc(bytes.length + 1);
    core.HEAPU8.set(bytes, at);
    core.HEAPU8[at + bytes.length] = 0;
    return at;
  }
  // A string the core handed out, released after it is read.
  function take(at) {
    if (!at) return null;
    let end = at;
    while (core.HEAPU8[end] !== 0) ++end;
    const text = decoder.decode(core.HEAPU8.subarray(at, end));
    core._tessalune_free(at);
    return text;
  }
  function withTexts(texts, use) {
    const pointers = texts.map(put);
    try {
      return use(...pointers);
    } finally {
      for (const at of pointers) core._free(at);
    }
  }
  function checkText(what, value, bytesToo = true) {
    if (bytesToo ? isText(value) : typeof value === 'string') return;
    throw new TypeError(`${what} must be a string${bytesToo ? ' or a Uint8Array' : ''}, not ${describe(value)}`);
  }

  // The length of a target's text in its unit.
  const lengthIn = (unit, text) => (unit === 'bytes' ? encoder.encode(text).length : [...text].length);

  // One call of the core that answers with an outcome: its options read, then call(texts'
  // pointers..., bits, language, target, limit, out) with out the room for the four strings:
  // the result, the question, the error and the result's Plus! text.
  function answer(what, options, optionNames, texts, call) {
    const bits = flagsOf(what, options, optionNames);
    const {target, limit} = targetOf(what, options);
    const language = catalogueOf(options && own(options, 'language') ? options.language : undefined);
    if (language === null) {
      const known = languages.map((l) => `${l.code} (${l.catalogue})`).join(', ');
      return {outcome: 'invalid', result: null, question: null,
        error: `language: ${String(options.language)} is not one of ${known}`, length: null, plus: null};
    }
    const out = core._malloc(16);
    try {
      core.HEAPU32.fill(0, out >> 2, (out >> 2) + 4);
      const outcome = withTexts([...texts, target.name], (...pointers) => {
        const name = pointers.pop();
        return call(...pointers, bits, language, name, limit, out);
      });
      const result = take(core.HEAPU32[out >> 2]);
      const question = take(core.HEAPU32[(out + 4) >> 2]);
      const error = take(core.HEAPU32[(out + 8) >> 2]);
      const plus = take(core.HEAPU32[(out + 12) >> 2]);
      return {outcome: core.UTF8ToString(core._tessalune_web_outcome(outcome)), result, question, error,
        length: result === null ? null : lengthIn(target.unit, result), plus};
    } finally {
      core._free(out);
    }
  }

  return {
    colour(text, fg, bg = 'none', options = {}) {
      checkText('colour: the text', text);
      checkText('colour: fg', fg, false);
      checkText('colour: bg', bg, false);
      return answer('colour', options, colourOptions, [text, fg, bg], (t, f, b, bits, language, to, limit, out) =>
        core._tessalune_web_colour(t, f, b, bits, language, to, limit, out, out + 4, out + 8, out + 12));
    },
    convert(plusText, options = {}) {
      checkText('convert: the Plus! text', plusText);
      return answer('convert', options, convertOptions, [plusText], (p, bits, language, to, limit, out) =>
        core._tessalune_web_convert(p, bits, language, to, limit, out, out + 4, out + 8, out + 12));
    },
    render(plusText) {
      checkText('render: the Plus! text', plusText);
      return withTexts([plusText], (p) => take(core._tessalune_web_render_html(p)));
    },
    length(plusText) {
      checkText('length: the Plus! text', plusText);
      return withTexts([plusText], (p) => core._tessalune_web_length(p));
    },
    // The editor's sixteen solid colours, "#RRGGBB", row by row.
    swatches: Array.from({length: 16}, (_, i) => core.UTF8ToString(core._tessalune_web_swatch(i))),
    limits,
    flags,
    targets,
    languages,
    fallbackLanguage,
  };
}

// Loads the core. Its wasm file is fetched from beside this module, compiled as it
// arrives, unless options.wasm says where it is (a URL), holds its bytes or is the module
// compiled already (a page's worker, say, given the module its page compiled). In node,
// where the core's loader cannot fetch a file, the bytes are read through the runtime's own
// module table, never an import, so browsers and bundlers see no node module.
export default async function createTessalune(options = {}) {
  const wasm = options.wasm ?? new URL('./tessalune-core.wasm', import.meta.url);
  const settings = {};
  if (wasm instanceof WebAssembly.Module) {
    let failed;
    const failure = new Promise((_, reject) => (failed = reject));
    settings.instantiateWasm = (imports, receive) => {
      WebAssembly.instantiate(wasm, imports).then((instance) => receive(instance, wasm), failed);
      return {};
    };
    return bind(await Promise.race([createTessaluneCore(settings), failure]));
  }
  if (wasm instanceof ArrayBuffer || ArrayBuffer.isView(wasm)) {
    settings.wasmBinary = wasm;
  } else {
    const url = new URL(wasm, import.meta.url);
    settings.locateFile = () => url.href;
    const files = url.protocol === 'file:' ? globalThis.process?.getBuiltinModule?.('fs/promises') : null;
    if (files) settings.wasmBinary = await files.readFile(url);
  }
  return bind(await createTessaluneCore(settings));
}

export {bind as bindTessaluneCore};
