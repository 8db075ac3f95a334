// The engine in the page itself, for a browser where the page's worker does not start; loaded
// only then, so that the page fetches the engine's files once.
import createTessalune from './tessalune.mjs';
import {conversions} from './conversion.mjs';

export default async () => conversions(await createTessalune());
