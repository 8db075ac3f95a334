#include "purple_texts.h"

#include <array>

namespace tessalune::purple {

namespace {

constexpr int kEnglish = 1;

// French, English, Dutch, Spanish, Catalan, Italian.
using Translations = std::array<std::string_view, 6>;

constexpr std::array<Translations, 12> kTexts = {{
    {"« %1 » est une fenêtre, et ce client n'en affiche aucune (pas d'écran). Rien n'a été modifié.",
     "\"%1\" is a window, and this client shows none (no display). Nothing was changed.",
     "\"%1\" is een venster, en deze client toont er geen (geen beeldscherm). Er is niets gewijzigd.",
     "«%1» es una ventana, y este cliente no muestra ninguna (sin pantalla). No se ha cambiado nada.",
     "«%1» és una finestra, i aquest client no en mostra cap (sense pantalla). No s'ha canviat res.",
     "«%1» è una finestra, e questo client non ne mostra (nessuno schermo). Non è stato modificato nulla."},
    {" (réponse : Oui)", " (answered Yes)", " (antwoord: Ja)", " (respuesta: Sí)", " (resposta: Sí)",
     " (risposta: Sì)"},
    {" (réponse : Non)", " (answered No)", " (antwoord: Nee)", " (respuesta: No)", " (resposta: No)",
     " (risposta: No)"},
    {"votre pseudo est maintenant ", "your nickname is now ", "je bijnaam is nu ", "tu apodo ahora es ",
     "el teu sobrenom ara és ", "il tuo nickname ora è "},
    {"le pseudo n'a pas été publié : %1.", "the nickname was not published: %1.",
     "de bijnaam is niet gepubliceerd: %1.", "el apodo no se ha publicado: %1.",
     "el sobrenom no s'ha publicat: %1.", "il nickname non è stato pubblicato: %1."},
    {"le serveur n'a pas accepté le pseudo.", "the server did not take the nickname.",
     "de server heeft de bijnaam niet aangenomen.", "el servidor no ha aceptado el apodo.",
     "el servidor no ha acceptat el sobrenom.", "il server non ha accettato il nickname."},
    {"le message n'a pas été envoyé : %1.", "the message was not sent: %1.",
     "het bericht is niet verzonden: %1.", "el mensaje no se ha enviado: %1.",
     "el missatge no s'ha enviat: %1.", "il messaggio non è stato inviato: %1."},
    {"Tessalune s'est arrêté ; désactivez puis réactivez le plug-in pour le recharger.",
     "Tessalune has halted; disable and enable the plug-in to load it again.",
     "Tessalune is gestopt; schakel de plug-in uit en weer in om hem opnieuw te laden.",
     "Tessalune se ha detenido; desactive y active el complemento para cargarlo de nuevo.",
     "Tessalune s'ha aturat; desactiveu i activeu el connector per carregar-lo de nou.",
     "Tessalune si è fermato; disattiva e riattiva il plug-in per caricarlo di nuovo."},
    {"il contient un caractère de contrôle, que XMPP ne peut pas transporter",
     "it holds a control character, which XMPP cannot carry",
     "het bevat een stuurteken, dat XMPP niet kan overbrengen",
     "contiene un carácter de control, que XMPP no puede transmitir",
     "conté un caràcter de control, que XMPP no pot transmetre",
     "contiene un carattere di controllo, che XMPP non può trasmettere"},
    {"le compte n'est pas connecté", "the account is not connected", "het account is niet verbonden",
     "la cuenta no está conectada", "el compte no està connectat", "l'account non è connesso"},
    {"la connexion ne l'a pas accepté", "the connection did not take it", "de verbinding nam het niet aan",
     "la conexión no lo ha aceptado", "la connexió no l'ha acceptat", "la connessione non l'ha accettato"},
    {"le protocole de ce compte n'a pas de pseudo public", "this account's protocol has no public nickname",
     "het protocol van dit account heeft geen openbare bijnaam",
     "el protocolo de esta cuenta no tiene apodo público",
     "el protocol d'aquest compte no té sobrenom públic",
     "il protocollo di questo account non ha un nickname pubblico"},
}};

}  // namespace

std::string purpleText(PurpleText text, int languageIndex, std::string_view argument) {
  const Translations& row = kTexts[static_cast<std::size_t>(text)];
  const bool known = languageIndex >= 0 && languageIndex < static_cast<int>(row.size());
  std::string out(row[static_cast<std::size_t>(known ? languageIndex : kEnglish)]);
  if (const std::size_t at = out.find("%1"); at != std::string::npos) out.replace(at, 2, argument);
  return out;
}

}  // namespace tessalune::purple
