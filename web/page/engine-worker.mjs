// The page's engine in a worker of its own: the page posts {id, request} (conversion.mjs says
// what a request holds) and gets {id, answer} back, or {id, failed} when the engine could not
// be loaded. Requests that come while it loads wait for it.
// Imports on lines of their own: the build joins the worker's modules into one script.
import createTessalune from './tessalune.mjs';
import {conversions} from './conversion.mjs';

const answering = createTessalune().then(conversions);
answering.catch(() => {});  // told to each request
self.onmessage = async ({data: {id, request}}) => {
  try {
    const answer = await answering;
    postMessage({id, answer: answer(request)});
  } catch (e) {
    postMessage({id, failed: String(e?.message ?? e)});
  }
};
