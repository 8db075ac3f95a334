#include "host_texts.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "engine/palette.h"

namespace tessalune::desktop {

namespace {

// Each text in French, English, Dutch, Spanish, Catalan and Italian, the order of the
// plug-in's language list.
using Row = std::array<const char*, 6>;
constexpr std::array<Row, static_cast<std::size_t>(HostText::Count)> kTexts{{
    {"&Tessalune", "&Tessalune", "&Tessalune", "&Tessalune", "&Tessalune", "&Tessalune"},
    {"&Recharger Tessalune", "&Load Tessalune again", "Tessalune opnieuw &laden",
     "&Volver a cargar Tessalune", "&Torna a carregar Tessalune", "&Ricarica Tessalune"},
    {"&Quitter", "&Quit", "&Afsluiten", "&Salir", "&Surt", "&Esci"},
    {"Tapez un message ou une commande comme /xtessalune, puis Entrée",
     "Type a message or a command such as /xtessalune, then Enter",
     "Typ een bericht of een opdracht zoals /xtessalune en druk op Enter",
     "Escribe un mensaje o una orden como /xtessalune y pulsa Intro",
     "Escriu un missatge o una ordre com /xtessalune i prem Retorn",
     "Scrivi un messaggio o un comando come /xtessalune, poi Invio"},
    {"Style rapide", "Quick style", "Snelle stijl", "Estilo rápido", "Estil ràpid", "Stile rapido"},
    {"Le texte à colorer", "The text to color", "De tekst om te kleuren", "El texto que colorear",
     "El text que cal acolorir", "Il testo da colorare"},
    {"Ajouter une couleur", "Add a color", "Kleur toevoegen", "Añadir un color", "Afegeix un color",
     "Aggiungi un colore"},
    {"Retirer la dernière couleur", "Remove the last color", "Laatste kleur verwijderen",
     "Quitar el último color", "Treu l'últim color", "Togli l'ultimo colore"},
    {"Linéaire", "Linear", "Lineair", "Lineal", "Lineal", "Lineare"},
    {"En miroir", "Mirrored", "Gespiegeld", "En espejo", "En mirall", "A specchio"},
    {"Arc-en-ciel", "Rainbow", "Regenboog", "Arcoíris", "Arc de Sant Martí", "Arcobaleno"},
    {"Couleur du texte", "Text color", "Tekstkleur", "Color del texto", "Color del text", "Colore del testo"},
    {"Fond", "Background", "Achtergrond", "Fondo", "Fons", "Sfondo"},
    {"Pseudo (129)", "Nickname (129)", "Bijnaam (129)", "Apodo (129)", "Sobrenom (129)", "Nickname (129)"},
    {"Message (1100)", "Message (1100)", "Bericht (1100)", "Mensaje (1100)", "Missatge (1100)",
     "Messaggio (1100)"},
    {"Utiliser comme pseudo", "Use as nickname", "Als bijnaam gebruiken", "Usar como apodo",
     "Usa com a sobrenom", "Usa come nickname"},
    {"Envoyer", "Send", "Verzenden", "Enviar", "Envia", "Invia"},
    {"Texte :", "Text:", "Tekst:", "Texto:", "Text:", "Testo:"},
    {"Couleurs :", "Colors:", "Kleuren:", "Colores:", "Colors:", "Colori:"},
    {"Style :", "Style:", "Stijl:", "Estilo:", "Estil:", "Stile:"},
    {"OK demanderait : %1", "OK would ask: %1", "OK zou vragen: %1", "Aceptar preguntaría: %1",
     "D'acord preguntaria: %1", "OK chiederebbe: %1"},
    {"OK dirait : %1", "OK would say: %1", "OK zou zeggen: %1", "Aceptar diría: %1", "D'acord diria: %1",
     "OK direbbe: %1"},
    {"Arrêté là où OK demanderait s'il faut continuer.", "Stopped where OK would ask whether to go on.",
     "Gestopt waar OK zou vragen of het verder moet.", "Detenido donde Aceptar preguntaría si continuar.",
     "Aturat on D'acord preguntaria si cal continuar.", "Fermato dove OK chiederebbe se continuare."},
    {"Votre pseudo est maintenant", "Your nickname is now", "Je bijnaam is nu", "Tu apodo es ahora",
     "El teu sobrenom ara és", "Il tuo nickname ora è"},
    {"Envoyé :", "Sent:", "Verzonden:", "Enviado:", "Enviat:", "Inviato:"},
    {"Tessalune s'est arrêté après une erreur ; ses commandes attendent qu'il soit rechargé (menu "
     "Tessalune).",
     "Tessalune has stopped after an error; its commands wait until it is loaded again (Tessalune menu).",
     "Tessalune is gestopt na een fout; de opdrachten wachten tot het opnieuw geladen is (menu Tessalune).",
     "Tessalune se ha detenido tras un error; sus órdenes esperan a que se vuelva a cargar (menú Tessalune).",
     "Tessalune s'ha aturat després d'un error; les ordres esperen que es torni a carregar (menú Tessalune).",
     "Tessalune si è fermato dopo un errore; i comandi attendono che venga ricaricato (menu Tessalune)."},
    {"Dégradé %1", "Gradient %1", "Verloop %1", "Degradado %1", "Degradat %1", "Sfumatura %1"},
    {"Blanc", "White", "Wit", "Blanco", "Blanc", "Bianco"},
    {"Noir", "Black", "Zwart", "Negro", "Negre", "Nero"},
    {"Argent", "Silver", "Zilver", "Plata", "Plata", "Argento"},
    {"Gris", "Gray", "Grijs", "Gris", "Gris", "Grigio"},
    {"Rouge", "Red", "Rood", "Rojo", "Vermell", "Rosso"},
    {"Marron", "Maroon", "Kastanjebruin", "Granate", "Granat", "Marrone"},
    {"Jaune", "Yellow", "Geel", "Amarillo", "Groc", "Giallo"},
    {"Olive", "Olive", "Olijf", "Oliva", "Oliva", "Oliva"},
    {"Citron vert", "Lime", "Limoen", "Lima", "Llima", "Lime"},
    {"Vert", "Green", "Groen", "Verde", "Verd", "Verde"},
    {"Cyan", "Aqua", "Aqua", "Aguamarina", "Aiguamarina", "Acqua"},
    {"Sarcelle", "Teal", "Groenblauw", "Verde azulado", "Verd blavós", "Verde acqua"},
    {"Bleu", "Blue", "Blauw", "Azul", "Blau", "Blu"},
    {"Bleu marine", "Navy", "Marineblauw", "Azul marino", "Blau marí", "Blu navy"},
    {"Fuchsia", "Fuchsia", "Fuchsia", "Fucsia", "Fúcsia", "Fucsia"},
    {"Violet", "Purple", "Paars", "Morado", "Porpra", "Viola"},
}};

}  // namespace

QString HostTexts::operator()(HostText text, const QString& argument) const {
  const std::size_t column = language_ >= 0 && language_ < 6 ? static_cast<std::size_t>(language_) : 1;
  const QString words = QString::fromUtf8(kTexts[static_cast<std::size_t>(text)][column]);
  return argument.isNull() ? words : words.arg(argument);
}

QString HostTexts::colourName(const QString& code) const {
  const auto& codes = engine::kEditorSwatches;  // in the order of the names above
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (code.compare(QLatin1String(codes[i].data(), codes[i].size()), Qt::CaseInsensitive) == 0)
      return (*this)(static_cast<HostText>(static_cast<int>(HostText::White) + static_cast<int>(i)));
  }
  return code;
}

}  // namespace tessalune::desktop
