// Tessalune's engine in WebAssembly, for browsers, workers and node:
//   const tessalune = await createTessalune();
//   tessalune.colour(text, fg, bg = 'none', options = {}) -> {outcome, result, question, error}
//   tessalune.render(plusText) -> the HTML `tessalune render --html` writes
//   tessalune.length(plusText) -> the length the nickname's and message's limits count
//   tessalune.swatches -> the editor's sixteen solid colours
//   tessalune.limits -> {nickname, message, minStops, maxStops, gradientEnd}: the lengths in
//     characters, how many colours a gradient goes through, how far a gradient paints
//   tessalune.flags -> the bit of each option colour() takes
//   tessalune.languages -> the plug-in's languages in its list's order, {code, file, name,
//     catalogue}; tessalune.fallbackLanguage -> the catalogue that stands in for any other
// Texts are strings, or Uint8Array for bytes as they are. Styles are strings, the colour
// tool's: "none", "solid:#RRGGBB", "gradN:#..:#.." (N 1 to 4: linear, reversed, mirrored,
// mirrored reversed), "grad:#..:#..[:...]", "mirror:...", "rainbow"; the background is "none"
// when left out. Options are an object of booleans {message, noEnd, keepThinned, bold,
// italic, underline, strike} and language: the language refusals and questions are told in,
// as its code ("fr", or a tag such as "fr-CA") or its message table id (see .languages); English when
// left out. Options null are none.
// A call with an argument of the wrong type (a text that is not a string, options that are
// not an object, an option no one knows) throws a TypeError. Otherwise colour() answers
// with one of four outcomes, those of the C interface's tessalune_colour_outcome:
//   'ok'        result: the Plus! text;
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

// The engine's entry points over one instance of the core.
function bind(core) {
  const fallbackLanguage = core._tessalune_web_fallback_language();
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  const limits = tableOf(core, core._tessalune_web_limit_name, core._tessalune_web_limit);
  const flags = tableOf(core, core._tessalune_web_flag_name, core._tessalune_web_flag);
  const languages = languagesOf(core);
  const optionNames = [...Object.keys(flags), 'language'];
  const isText = (value) => typeof value === 'string' || value instanceof Uint8Array;
  const own = (object, name) => Object.prototype.hasOwnProperty.call(object, name);
  // What a wrong argument was, for a TypeError's message.
  const describe = (value) => {
    if (value === null) return 'null';
    if (Array.isArray(value)) return 'an array';
    return typeof value === 'object' ? 'an object' : `a ${typeof value}`;
  };

  // The options' flags; a TypeError for options that are not an object of known names
  // (null is none).
  function flagsOf(options) {
    if (options === null) return 0;
    if (typeof options !== 'object' || options === null || Array.isArray(options)) {
      throw new TypeError(`colour: options must be an object, not ${describe(options)}`);
    }
    let bits = 0;
    for (const name of Object.keys(options)) {
      if (!optionNames.includes(name)) {
        throw new TypeError(`colour: unknown option ${JSON.stringify(name)} (known: ${optionNames.join(', ')})`);
      }
      const value = options[name];
      if (name === 'language' || value === undefined) continue;
      if (typeof value !== 'boolean') throw new TypeError(`colour: option ${name} must be true or false`);
      if (value) bits |= flags[name];
    }
    return bits;
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

  return {
    colour(text, fg, bg = 'none', options = {}) {
      checkText('colour: the text', text);
      checkText('colour: fg', fg, false);
      checkText('colour: bg', bg, false);
      const bits = flagsOf(options);
      const language = catalogueOf(options && own(options, 'language') ? options.language : undefined);
      if (language === null) {
        const known = languages.map((l) => `${l.code} (${l.catalogue})`).join(', ');
        return {outcome: 'invalid', result: null, question: null,
          error: `language: ${String(options.language)} is not one of ${known}`};
      }
      const out = core._malloc(12);
      try {
        const outcome = withTexts([text, fg, bg], (t, f, b) =>
          core._tessalune_web_colour(t, f, b, bits, language, out, out + 4, out + 8));
        const result = take(core.HEAPU32[out >> 2]);
        const question = take(core.HEAPU32[(out + 4) >> 2]);
        const error = take(core.HEAPU32[(out + 8) >> 2]);
        return {outcome: core.UTF8ToString(core._tessalune_web_outcome(outcome)), result, question, error};
      } finally {
        core._free(out);
      }
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
