// Tessalune's engine in WebAssembly: colours nicknames and messages with Messenger Plus!
// codes, exactly as the chat plug-in does, or with the codes of IRC, HTML, BBCode, ANSI
// terminals and game servers, fitted to their limits.

/** A style, as the colour tool writes it: "none", "solid:#RRGGBB", "gradN:#RRGGBB:#RRGGBB"
 * (N 1 to 4: linear, reversed, mirrored, mirrored reversed), "grad:#..:#..[:#..]" and
 * "mirror:#..:#..[:#..]" through 2 to 10 colours, or "rainbow". */
export type Style = string;

/** A text: a string, or UTF-8 bytes taken as they are. */
export type Text = string | Uint8Array;

/** The name of a target of the table (see .targets): "plus", "irc", "bbcode"... */
export type TargetName = string;

export interface ConvertOptions {
  /** A message (the message's limit) rather than a nickname. */
  message?: boolean;
  /** No end code after a nickname. */
  noEnd?: boolean;
  /** Keep the text when colour changes had to be dropped to fit: the answer yes to the
   * question outcome. */
  keepThinned?: boolean;
  /** The language refusals and questions are told in: a code ("fr"), a tag starting with
   * one ("fr-CA"), or a message table id (see .languages). English when left out. */
  language?: string | number;
  /** The codes the result is written in, fitted to the target's limit; 'plus' when left out. */
  to?: TargetName;
  /** The longest result, in the target's unit, instead of the target's own limit: a whole
   * number above 0. */
  limit?: number;
}

export interface ColourOptions extends ConvertOptions {
  bold?: boolean;
  italic?: boolean;
  underline?: boolean;
  strike?: boolean;
}

/** Coloured: the text in the target's codes, its length in the target's unit, and the Plus!
 * text, fitted to the target's limit, that it was written from (the result itself for 'plus'):
 * render(plus) shows the colours the result carries. */
export interface Coloured {
  outcome: 'ok';
  result: string;
  question: null;
  error: null;
  length: number;
  plus: string;
}
/** The text cannot be coloured as asked (too long, empty...): why, as the plug-in says it. */
export interface Refused {
  outcome: 'refused';
  result: null;
  question: null;
  error: string;
  length: null;
  plus: null;
}
/** Colour changes had to be dropped to fit the limit: what the plug-in asks. Colouring again
 * with keepThinned is the answer yes. */
export interface Question {
  outcome: 'question';
  result: null;
  question: string;
  error: null;
  length: null;
  plus: null;
}
/** An argument is wrong (a style that cannot be read, an unknown language): which, and why. */
export interface Invalid {
  outcome: 'invalid';
  result: null;
  question: null;
  error: string;
  length: null;
  plus: null;
}
export type Colouring = Coloured | Refused | Question | Invalid;

export interface Target {
  name: TargetName;
  /** What its limits count: characters, or the UTF-8 bytes of a line protocol. */
  unit: 'characters' | 'bytes';
  /** The longest nickname and message in the unit; 0: no limit of the target's own. */
  nicknameLimit: number;
  messageLimit: number;
  /** Whether its codes carry background colours. */
  backgrounds: boolean;
}

export interface Language {
  /** "fr", "en", "nl", "es", "ca", "it". */
  code: string;
  /** The plug-in's language file, without its extension. */
  file: string;
  /** The language's own name. */
  name: string;
  /** Its message table: 1036, 1033, 1043, 1034, 1027, 1040. */
  catalogue: number;
}

export interface Tessalune {
  /** Colours a text. Throws a TypeError for an argument of the wrong type or an unknown
   * option; answers everything else with one of the four outcomes. */
  colour(text: Text, fg: Style, bg?: Style, options?: ColourOptions | null): Colouring;
  /** Writes Plus! text in a target's codes, its colours thinned to fit the target's limit as
   * a conversion thins them: `tessalune convert --from plus`. Throws and answers as colour. */
  convert(plusText: Text, options?: ConvertOptions | null): Colouring;
  /** The Plus! text as an HTML fragment, as `tessalune render --html` writes it. */
  render(plusText: Text): string;
  /** The length of a Plus! text in characters, as the nickname's and message's limits count. */
  length(plusText: Text): number;
  /** The editor's sixteen solid colours, "#RRGGBB", row by row. */
  readonly swatches: readonly string[];
  /** The lengths in characters, how many colours a gradient goes through, how far a gradient
   * paints. */
  readonly limits: Readonly<{nickname: number; message: number; minStops: number; maxStops: number;
    gradientEnd: number}>;
  /** The bit of each boolean option. */
  readonly flags: Readonly<Record<Exclude<keyof ColourOptions, 'language' | 'to' | 'limit'>, number>>;
  /** The codes a result can be written in, the default first. */
  readonly targets: readonly Target[];
  /** The plug-in's languages, in its list's order. */
  readonly languages: readonly Language[];
  /** The message table that stands in for any other language. */
  readonly fallbackLanguage: number;
}

export interface LoadOptions {
  /** Where the wasm file is, its bytes, or the module compiled already; beside the module by default. */
  wasm?: URL | string | ArrayBuffer | ArrayBufferView | WebAssembly.Module;
}

/** Loads the engine: in browsers, workers and node. */
export default function createTessalune(options?: LoadOptions): Promise<Tessalune>;
