// Tessalune's engine in WebAssembly, for browsers and node:
//   const tessalune = await createTessalune();
//   tessalune.colour(text, fg, bg, options) -> {outcome, result, question, error}
//   tessalune.render(plusText) -> the HTML `tessalune render --html` writes
//   tessalune.length(plusText) -> the length the nickname's and message's limits count
//   tessalune.swatches -> the editor's sixteen solid colours
//   tessalune.limits -> {nickname, message, minStops, maxStops, gradientEnd}: the lengths in
//     characters, how many colours a gradient goes through, how far a gradient paints
//   tessalune.flags -> the bit of each option colour() takes
//   tessalune.languages -> the plug-in's languages in its list's order, {code, file, name,
//     catalogue}; tessalune.fallbackLanguage -> the catalogue that stands in for any other
// Styles are the colour tool's ("none", "solid:#RRGGBB", "gradN:#..:#..", "grad:...",
// "mirror:...", "rainbow"); options are booleans {message, noEnd, keepThinned, bold,
// italic, underline, strike} and language, the message table (a language's catalogue)
// refusals and questions are told in: fallbackLanguage by default. Texts are strings, or
// Uint8Array for bytes as they are.
// The outcome of colour() is 'ok' (result: the Plus! text), 'refused' (error: why, as the
// plug-in would tell it), 'question' (question: what the plug-in would ask when colours had
// to be thinned; colouring again with keepThinned is the answer yes) or 'invalid' (error:
// the wrong argument); the fields an outcome does not use are null.

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
  const flagsOf = (options = {}) =>
    Object.entries(flags).reduce((bits, [name, bit]) => bits | (options[name] ? bit : 0), 0);

  // A zero-ended copy of a text in the core's memory, released by the caller; 0 for null.
  function put(text) {
    if (text === null || text === undefined) return 0;
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
      for (const at of pointers) if (at) core._free(at);
    }
  }

  return {
    colour(text, fg, bg = 'none', options = {}) {
      const out = core._malloc(12);
      try {
        const language = options.language ?? fallbackLanguage;
        const outcome = withTexts([text, fg, bg], (t, f, b) =>
          core._tessalune_web_colour(t, f, b, flagsOf(options), language, out, out + 4, out + 8));
        const result = take(core.HEAPU32[out >> 2]);
        const question = take(core.HEAPU32[(out + 4) >> 2]);
        const error = take(core.HEAPU32[(out + 8) >> 2]);
        return {outcome: core.UTF8ToString(core._tessalune_web_outcome(outcome)), result, question, error};
      } finally {
        core._free(out);
      }
    },
    render(plusText) {
      return withTexts([plusText], (p) => take(core._tessalune_web_render_html(p)));
    },
    length(plusText) {
      return withTexts([plusText], (p) => core._tessalune_web_length(p));
    },
    // The editor's sixteen solid colours, "#RRGGBB", row by row.
    swatches: Array.from({length: 16}, (_, i) => core.UTF8ToString(core._tessalune_web_swatch(i))),
    limits,
    flags,
    languages: languagesOf(core),
    fallbackLanguage,
  };
}

// Loads the core: in node its wasm file is read from beside this module (the core's own
// loader cannot fetch a file there), in a browser it is fetched from the same place.
export default async function createTessalune() {
  const {default: createTessaluneCore} = await import('./tessalune-core.mjs');
  const wasmUrl = new URL('./tessalune-core.wasm', import.meta.url);
  const options = {locateFile: () => wasmUrl.href};
  if (typeof process === 'object' && process.versions?.node) {
    const {readFile} = await import('node:fs/promises');
    options.wasmBinary = await readFile(wasmUrl);
  }
  return bind(await createTessaluneCore(options));
}

export {bind as bindTessaluneCore};
