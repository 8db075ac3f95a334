// The page's engine in a worker of its own: the page posts {id, request} (conversion.mjs says
// what a request holds) and gets {id, answer} back, or {id, failed} when the engine could not
// be loaded. Requests that come while it loads wait for it.
// Imports on lines of their own: the build joins the worker's modules into one script.
import createTessalune from './tessalune.mjs';
import {conversions} from './conversion.mjs';

// The engine loads at the first message. The page's head may say first that it compiles the
// wasm module itself while the page is read ({wasmComing: true}); the worker then waits for it
// ({wasm: the module, or null when the head could not, and the worker fetches it itself}).
let answering = null;
let handOver = null;
const load = (wasm) => {
  answering = createTessalune(wasm ? {wasm} : {}).then(conversions);
  answering.catch(() => {});  // told to each request
};
self.onmessage = async ({data}) => {
  if (data.wasmComing) {
    answering = new Promise((resolve) => (handOver = resolve)).then((wasm) => {
      load(wasm);
      return answering;
    });
    answering.catch(() => {});
    return;
  }
  if (Object.hasOwn(data, 'wasm')) {
    handOver?.(data.wasm);
    return;
  }
  if (!answering) load(null);
  try {
    const answer = await answering;
    postMessage({id: data.id, answer: answer(data.request)});
  } catch (e) {
    postMessage({id: data.id, failed: String(e?.message ?? e)});
  }
};
